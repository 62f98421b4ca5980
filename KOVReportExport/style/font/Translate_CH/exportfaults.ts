<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>KOVReportExport</name>
    <message>
        <source>缺少以下必需文件，无法导出报告：</source>
        <translation>缺少以下必需文件，无法导出报告：</translation>
    </message>
    <message>
        <source>缺少以下必需文件，报告导出或放电类型识别将无法使用：</source>
        <translation>缺少以下必需文件，报告导出或放电类型识别将无法使用：</translation>
    </message>
    <message>
        <source>以下图片未能放入报告：</source>
        <translation>以下图片未能放入报告：</translation>
    </message>
    <message>
        <source>文件保存失败！</source>
        <translation>文件保存失败！</translation>
    </message>
</context>
<context>
    <name>KOVProgressBarDialog</name>
    <message>
        <source>文件已保存，部分内容未能导出！</source>
        <translation>文件已保存，部分内容未能导出！</translation>
    </message>
</context>
</TS>
