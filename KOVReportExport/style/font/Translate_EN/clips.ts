<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KOVVideoImg</name>
    <message>
        <source>该图片已锁定</source>
        <translation>The image is locked</translation>
    </message>
    <message>
        <source>标记图片已满！</source>
        <translation>Marked Iamges are Full！</translation>
    </message>
    <message>
        <source>锁定图片无法保存到文件夹：</source>
        <translation>The locked image cannot be saved in the folder:</translation>
    </message>
    <message>
        <source>截取视频窗口已存在！</source>
        <translation>Video clip interafce is showing!</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>无法创建视频片段文件！</source>
        <translation>The video clip file cannot be created!</translation>
    </message>
    <message>
        <source>视频片段写入失败！</source>
        <translation>The video clip could not be written!</translation>
    </message>
    <message>
        <source>视频片段</source>
        <translation>Video Clip</translation>
    </message>
    <message>
        <source>截取中...</source>
        <translation>Capturing</translation>
    </message>
</context>
<context>
    <name>KOVScreenshot</name>
    <message>
        <source>截取的视频片段</source>
        <translation>Video Clip Interface</translation>
    </message>
</context>
<context>
    <name>KOVTagImg</name>
    <message>
        <source>Dialog</source>
        <translation>Image Tag</translation>
    </message>
</context>
<context>
    <name>KOVTagAud</name>
    <message>
        <source>Dialog</source>
        <translation>Audio Tag</translation>
    </message>
</context>
<context>
    <name>KOVTagTxt</name>
    <message>
        <source>Dialog</source>
        <translation>Text Tag</translation>
    </message>
    <message>
        <source>文本标记不存在！</source>
        <translation>Without text tag!</translation>
    </message>
    <message>
        <source>文本标记打开错误！</source>
        <translation>Error opening text tag!</translation>
    </message>
    <message>
        <source>文本标记读取成功</source>
        <translation>Text tag read successfully</translation>
    </message>
</context>
</TS>
