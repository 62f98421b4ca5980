<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>KOVReportExport</name>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>检测到上次未正常关闭，是否恢复？</source>
        <translation>检测到上次未正常关闭，是否恢复？</translation>
    </message>
    <message>
        <source>上次的工作无法恢复：</source>
        <translation>上次的工作无法恢复：</translation>
    </message>
    <message>
        <source>缓存文件未能移走，仍在：</source>
        <translation>缓存文件未能移走，仍在：</translation>
    </message>
    <message>
        <source>缓存文件已保留在：</source>
        <translation>缓存文件已保留在：</translation>
    </message>
    <message>
        <source>未选择任何文件，请选择文件进行删除！</source>
        <translation>未选择任何文件，请选择文件进行删除！</translation>
    </message>
    <message>
        <source>删除所有文件前，请先删除所有报告页！</source>
        <translation>删除所有文件前，请先删除所有报告页！</translation>
    </message>
    <message>
        <source> 文件在以下报告中被使用</source>
        <translation> 文件在以下报告中被使用</translation>
    </message>
    <message>
        <source>请删除报告中对应测试点后再进行操作！</source>
        <translation>请删除报告中对应测试点后再进行操作！</translation>
    </message>
    <message>
        <source>未选择任何文件！</source>
        <translation>未选择任何文件！</translation>
    </message>
    <message>
        <source>报告页</source>
        <translation>报告页</translation>
    </message>
    <message>
        <source>份</source>
        <translation>份</translation>
    </message>
</context>
</TS>
