<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KOVVideoImg</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>测试点信息未能保存，请检查文件是否可写：</source>
        <translation>The test point information was not saved; check that the file can be written: </translation>
    </message>
</context>
</TS>
