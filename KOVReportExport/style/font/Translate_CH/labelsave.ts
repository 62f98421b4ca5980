<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>KOVVideoImg</name>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>测试点信息未能保存，请检查文件是否可写：</source>
        <translation>测试点信息未能保存，请检查文件是否可写：</translation>
    </message>
</context>
</TS>
