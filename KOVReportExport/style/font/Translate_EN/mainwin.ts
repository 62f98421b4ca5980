<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVFileDialog</name>
    <message>
        <source>Please select folder</source>
        <translation>Please select folder</translation>
    </message>
</context>
<context>
    <name>KOVItem</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>KOVReportExport</name>
    <message>
        <source>KOVReportExport</source>
        <translation>KOVReportExport</translation>
    </message>
    <message>
        <source>×</source>
        <translation>×</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>新建报告</source>
        <translation>New Report</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>删除文件</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>导出报告</source>
        <translation>Export Report</translation>
    </message>
    <message>
        <source>批量删除</source>
        <translation>Delete in Batch</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinease</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>导入文件</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>电力</source>
        <translation>Electricity</translation>
    </message>
    <message>
        <source>气体</source>
        <translation>Gas</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>浏览页</source>
        <translation>Browse Page</translation>
    </message>
    <message>
        <source>路径：</source>
        <translation>Path：</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>导入用户目录不一，请先删除所有已导入文件后重新导入！</source>
        <translation>Import user directory is not the same, please delete all imported files and import again!</translation>
    </message>
    <message>
        <source>以下文件夹的名称无法识别，未导入：</source>
        <translation>These folders were not imported, their names cannot be read on this system:</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
</context>
</TS>
