<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>KOVAbout</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>View and analyze the data of pictures and videos shot by the adaptive handheld acoustic imager, edit and output the corresponding test report</source>
        <translation>对适配的手持式工业声学成像仪拍摄的图片和视频文件进行数据查看分析，编辑输出对应的测试报告</translation>
    </message>
</context>
<context>
    <name>KOVReportExport</name>
    <message>
        <source>切换屏幕缩放比例后，</source>
        <translation>切换屏幕缩放比例后，</translation>
    </message>
    <message>
        <source>以下控件显示会不适配：</source>
        <translation>以下控件显示会不适配：</translation>
    </message>
    <message>
        <source>    菜单栏下拉项、时域波形相关绘图标签</source>
        <translation>    菜单栏下拉项、时域波形相关绘图标签</translation>
    </message>
    <message>
        <source>推荐重启软件！</source>
        <translation>推荐重启软件！</translation>
    </message>
    <message>
        <source>重启软件，语言设置生效</source>
        <translation>重启软件，语言设置生效</translation>
    </message>
    <message>
        <source>语言设置未能保存，请检查配置文件是否可写：</source>
        <translation>语言设置未能保存，请检查配置文件是否可写：</translation>
    </message>
    <message>
        <source>应用程序正在退出，是否导出数据！</source>
        <translation>应用程序正在退出，是否导出数据！</translation>
    </message>
</context>
<context>
    <name>KOVScreenshot</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>KOVShowWavform</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
</TS>
