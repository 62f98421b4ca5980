<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>本次检测泄漏点有 </source>
        <translation>There are </translation>
    </message>
    <message>
        <source>本次检测局放点有 </source>
        <translation>There are </translation>
    </message>
    <message>
        <source>处：</source>
        <translation> fault points detected this time：</translation>
    </message>
    <message>
        <source>   –   测试故障点（</source>
        <translation>   –   Test Fault Point (</translation>
    </message>
    <message>
        <source>）为</source>
        <translation>) is </translation>
    </message>
    <message>
        <source>泄漏，运行状态判定为</source>
        <translation> leakage, the running state is </translation>
    </message>
    <message>
        <source>，运行状态判定为</source>
        <translation>, the running state is </translation>
    </message>
    <message>
        <source>未锁定图片！</source>
        <translation>Without locked image!</translation>
    </message>
</context>
</TS>
