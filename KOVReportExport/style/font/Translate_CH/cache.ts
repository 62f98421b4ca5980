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
        <source>恢复缓存未能写入，打开的报告在下次启动时无法恢复：</source>
        <translation>恢复缓存未能写入，打开的报告在下次启动时无法恢复：</translation>
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
<context>
    <name>KOVCacheCheck</name>
    <message>
        <source>report page %1: </source>
        <translation>第%1份报告页：</translation>
    </message>
    <message>
        <source>no report object</source>
        <translation>没有报告内容</translation>
    </message>
    <message>
        <source>test points or chosen rows are no list</source>
        <translation>测试点或选中的文件不是列表</translation>
    </message>
    <message>
        <source>%1 test points, more than %2</source>
        <translation>有%1个测试点，超过%2个</translation>
    </message>
    <message>
        <source>a test point is no object</source>
        <translation>有测试点内容无效</translation>
    </message>
    <message>
        <source>the item lists are no lists</source>
        <translation>文件列表不是列表</translation>
    </message>
    <message>
        <source>%1 item paths but %2 item names</source>
        <translation>有%1个文件路径，却有%2个文件名</translation>
    </message>
    <message>
        <source>the item lists hold other things than texts</source>
        <translation>文件列表中有非文字的内容</translation>
    </message>
    <message>
        <source>the user directory %1 is gone</source>
        <translation>用户目录 %1 已不存在</translation>
    </message>
    <message>
        <source>the browse page&apos;s state is no object</source>
        <translation>浏览页的状态无效</translation>
    </message>
    <message>
        <source>the report pages are no list</source>
        <translation>报告页不是列表</translation>
    </message>
    <message>
        <source>%1 report pages, more than %2</source>
        <translation>有%1份报告页，超过%2份</translation>
    </message>
</context>
<context>
    <name>KOVCacheFile</name>
    <message>
        <source>%1 at offset %2</source>
        <translation>%1，位于第%2字节</translation>
    </message>
    <message>
        <source>the document is not an object</source>
        <translation>缓存文件内容无效</translation>
    </message>
</context>
</TS>
