<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVReportExport</name>
    <message>
        <source>缺少以下必需文件，无法导出报告：</source>
        <translation>These required files are missing, the report cannot be exported:</translation>
    </message>
    <message>
        <source>缺少以下必需文件，报告导出或放电类型识别将无法使用：</source>
        <translation>These required files are missing; report export or discharge type recognition will not work:</translation>
    </message>
    <message>
        <source>以下图片未能放入报告：</source>
        <translation>These pictures could not be placed in the report:</translation>
    </message>
    <message>
        <source>文件保存失败！</source>
        <translation>file is failed to save!</translation>
    </message>
</context>
<context>
    <name>KOVProgressBarDialog</name>
    <message>
        <source>文件已保存，部分内容未能导出！</source>
        <translation>file is saved, but some content could not be exported!</translation>
    </message>
</context>
</TS>
