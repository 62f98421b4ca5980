<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>本次检测泄漏点有 </source>
        <translation>本次检测泄漏点有 </translation>
    </message>
    <message>
        <source>本次检测局放点有 </source>
        <translation>本次检测局放点有 </translation>
    </message>
    <message>
        <source>处：</source>
        <translation> 处：</translation>
    </message>
    <message>
        <source>   –   测试故障点（</source>
        <translation>   –   测试故障点（</translation>
    </message>
    <message>
        <source>）为</source>
        <translation>）为</translation>
    </message>
    <message>
        <source>泄漏，运行状态判定为</source>
        <translation>泄漏，运行状态判定为</translation>
    </message>
    <message>
        <source>，运行状态判定为</source>
        <translation>，运行状态判定为</translation>
    </message>
    <message>
        <source>未锁定图片！</source>
        <translation>未锁定图片！</translation>
    </message>
</context>
</TS>
