<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVReportExport</name>
    <message>
        <source>提示</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>检测到上次未正常关闭，是否恢复？</source>
        <translation>Abnormal shutdown last time, whether to recover?</translation>
    </message>
    <message>
        <source>上次的工作无法恢复：</source>
        <translation>The last work could not be recovered: </translation>
    </message>
    <message>
        <source>缓存文件未能移走，仍在：</source>
        <translation>The cache could not be moved away and is still at: </translation>
    </message>
    <message>
        <source>缓存文件已保留在：</source>
        <translation>The cache has been kept at: </translation>
    </message>
    <message>
        <source>恢复缓存未能写入，打开的报告在下次启动时无法恢复：</source>
        <translation>The recovery cache could not be written, the open reports cannot be recovered at the next start: </translation>
    </message>
    <message>
        <source>未选择任何文件，请选择文件进行删除！</source>
        <translation>Without selected files,please select file!</translation>
    </message>
    <message>
        <source>删除所有文件前，请先删除所有报告页！</source>
        <translation>Please delete all report pages before deleting all files!</translation>
    </message>
    <message>
        <source> 文件在以下报告中被使用</source>
        <translation> file is used in following reports,</translation>
    </message>
    <message>
        <source>请删除报告中对应测试点后再进行操作！</source>
        <translation>please tyr again after deleting the test point!</translation>
    </message>
    <message>
        <source>未选择任何文件！</source>
        <translation>Without selected files！</translation>
    </message>
    <message>
        <source>报告页</source>
        <translation>Report Page</translation>
    </message>
    <message>
        <source>份</source>
        <translation> </translation>
    </message>
</context>
<context>
    <name>KOVCacheCheck</name>
    <message>
        <source>report page %1: </source>
        <translation>report page %1: </translation>
    </message>
    <message>
        <source>no report object</source>
        <translation>no report object</translation>
    </message>
    <message>
        <source>test points or chosen rows are no list</source>
        <translation>test points or chosen rows are no list</translation>
    </message>
    <message>
        <source>%1 test points, more than %2</source>
        <translation>%1 test points, more than %2</translation>
    </message>
    <message>
        <source>a test point is no object</source>
        <translation>a test point is no object</translation>
    </message>
    <message>
        <source>the item lists are no lists</source>
        <translation>the item lists are no lists</translation>
    </message>
    <message>
        <source>%1 item paths but %2 item names</source>
        <translation>%1 item paths but %2 item names</translation>
    </message>
    <message>
        <source>the item lists hold other things than texts</source>
        <translation>the item lists hold other things than texts</translation>
    </message>
    <message>
        <source>the user directory %1 is gone</source>
        <translation>the user directory %1 is gone</translation>
    </message>
    <message>
        <source>the browse page&apos;s state is no object</source>
        <translation>the browse page&apos;s state is no object</translation>
    </message>
    <message>
        <source>the report pages are no list</source>
        <translation>the report pages are no list</translation>
    </message>
    <message>
        <source>%1 report pages, more than %2</source>
        <translation>%1 report pages, more than %2</translation>
    </message>
</context>
<context>
    <name>KOVCacheFile</name>
    <message>
        <source>%1 at offset %2</source>
        <translation>%1 at offset %2</translation>
    </message>
    <message>
        <source>the document is not an object</source>
        <translation>the document is not an object</translation>
    </message>
</context>
</TS>
