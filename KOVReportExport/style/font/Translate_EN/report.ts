<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVReportWin</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>报告出具单位</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>测试设备信息</source>
        <translation>Test Device Information</translation>
    </message>
    <message>
        <source>测试人员</source>
        <translation>Testers</translation>
    </message>
    <message>
        <source>测试时间</source>
        <translation>Test Time</translation>
    </message>
    <message>
        <source>设备型号</source>
        <translation>Device Model</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Software Version</translation>
    </message>
    <message>
        <source>测试地点</source>
        <translation>Test Location</translation>
    </message>
    <message>
        <source>报告编号</source>
        <translation>Report SN</translation>
    </message>
    <message>
        <source>设备序列号</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>报告名称</source>
        <translation>Report Name</translation>
    </message>
</context>
<context>
    <name>KOVReportExport</name>
    <message>
        <source>文件列表与浏览页</source>
        <translation>File List and Browse Page</translation>
    </message>
    <message>
        <source>请先导入文件列表！</source>
        <translation>Please import the file list first!</translation>
    </message>
    <message>
        <source>可新建报告数量达最大值！</source>
        <translation>The number of report is reaching to maximum!！</translation>
    </message>
    <message>
        <source>气体报告</source>
        <translation>Gas Report </translation>
    </message>
    <message>
        <source>电力报告</source>
        <translation>Electricity Report </translation>
    </message>
    <message>
        <source>可增加测试点数量达最大值！</source>
        <translation>The number of test points is reaching to maximum!</translation>
    </message>
    <message>
        <source>文件 </source>
        <translation>File </translation>
    </message>
    <message>
        <source> 已被选做测试点分析，</source>
        <translation> has been selected for analysis, </translation>
    </message>
    <message>
        <source>是否取消选中并删除测试点！</source>
        <translation>Whether to deselect and delete the test point! </translation>
    </message>
    <message>
        <source>报告 </source>
        <translation>Report </translation>
    </message>
    <message>
        <source> 中有测试点，</source>
        <translation> holds test points, </translation>
    </message>
    <message>
        <source>是否关闭报告并删除测试点！</source>
        <translation>Whether to close the report and delete its test points! </translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>未创建报告！</source>
        <translation>Without report inetrface!</translation>
    </message>
    <message>
        <source>未选中报告页，无法导出报告！</source>
        <translation>Report page is unselected, can not export report!</translation>
    </message>
    <message>
        <source>报告无测试点，无法导出报告！</source>
        <translation>The report has no test point, can not export report!</translation>
    </message>
    <message>
        <source>*.xlsx</source>
        <translation>*.xlsx</translation>
    </message>
    <message>
        <source>文件删除失败，请手动删除后重试！</source>
        <translation>Failed to delete File, please delete the file manually and try again!</translation>
    </message>
    <message>
        <source>文件创建失败，可能存在以下问题：</source>
        <translation>Failed to creat file, the following problems may exist：</translation>
    </message>
    <message>
        <source>1、报告无测试点</source>
        <translation>1、Without test point</translation>
    </message>
    <message>
        <source>2、文件被占用</source>
        <translation>2、file is used by other process</translation>
    </message>
    <message>
        <source>3、文件加载失败</source>
        <translation>3、file failed to load</translation>
    </message>
    <message>
        <source>以下剪辑文件复制失败：</source>
        <translation>These clip files could not be copied:</translation>
    </message>
    <message>
        <source>文件已存在，是否覆盖？</source>
        <translation>The file already exists, whether to overwrite?</translation>
    </message>
</context>
<context>
    <name>KOVProgressBarDialog</name>
    <message>
        <source>导出报告</source>
        <translation>Export Report</translation>
    </message>
    <message>
        <source>数据保存中</source>
        <translation>Data saving</translation>
    </message>
    <message>
        <source>文件已保存！</source>
        <translation>file is saved!</translation>
    </message>
    <message>
        <source>文件保存失败！</source>
        <translation>file is failed to save!</translation>
    </message>
</context>
<context>
    <name>KOVProgressBarWidget</name>
    <message>
        <source>数据恢复进度条</source>
        <translation>Data Recovery</translation>
    </message>
    <message>
        <source>数据恢复中</source>
        <translation>Recovering data</translation>
    </message>
    <message>
        <source>数据恢复完成！</source>
        <translation>Data recover success!</translation>
    </message>
    <message>
        <source>数据恢复失败！</source>
        <translation>Data recover failed!</translation>
    </message>
</context>
</TS>
