<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVAbout</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>View and analyze the data of pictures and videos shot by the adaptive handheld acoustic imager, edit and output the corresponding test report</source>
        <translation>View and analyze the data of pictures and videos shot by the adaptive handheld industrial acoustic imager, edit and output the corresponding test report</translation>
    </message>
</context>
<context>
    <name>KOVReportExport</name>
    <message>
        <source>切换屏幕缩放比例后，</source>
        <translation>After switching the screen zoom,</translation>
    </message>
    <message>
        <source>以下控件显示会不适配：</source>
        <translation>the following controls display incorrectly: </translation>
    </message>
    <message>
        <source>    菜单栏下拉项、时域波形相关绘图标签</source>
        <translation>    Menubar drop-down items, time domain waveform related drawing labels  </translation>
    </message>
    <message>
        <source>推荐重启软件！</source>
        <translation>Suggest to restart the software!</translation>
    </message>
    <message>
        <source>重启软件，语言设置生效</source>
        <translation>Restart the software for the language Settings to take effect</translation>
    </message>
    <message>
        <source>语言设置未能保存，请检查配置文件是否可写：</source>
        <translation>The language setting was not saved; check that the settings file can be written: </translation>
    </message>
    <message>
        <source>应用程序正在退出，是否导出数据！</source>
        <translation>The application is exiting, whether to export data!</translation>
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
