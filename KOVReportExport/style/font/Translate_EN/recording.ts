<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>KOVShowWavform</name>
    <message>
        <source>时域波形图</source>
        <translation>Time Domain Waveform</translation>
    </message>
    <message>
        <source>时间/分:秒:毫秒</source>
        <translation>Time/min:s.ms</translation>
    </message>
    <message>
        <source>频率/Hz</source>
        <translation>Frequency/Hz</translation>
    </message>
    <message>
        <source>频率/kHz</source>
        <translation>Frequency/kHz</translation>
    </message>
    <message>
        <source>时域波形</source>
        <translation>Time Domain Waveform</translation>
    </message>
    <message>
        <source>频谱图</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>语谱图</source>
        <translation>Spectrogram</translation>
    </message>
    <message>
        <source>高通滤波器/Hz</source>
        <translation>High Pass Filter</translation>
    </message>
</context>
<context>
    <name>KOVPRPD</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>音频超过 %1 分钟，无法显示波形和图谱：</source>
        <translation>The audio is longer than %1 minutes; its waveform and pattern cannot be shown:</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>电晕，尖端放电</source>
        <translation>Corona/Point Discharge</translation>
    </message>
    <message>
        <source>沿面放电、悬浮放电</source>
        <translation>Discharge Along Dielectric Surface/Suspended Discharge</translation>
    </message>
    <message>
        <source>自由金属放电</source>
        <translation>Free Metal Particle Discharge</translation>
    </message>
    <message>
        <source>未检测到放电</source>
        <translation>No Discharge</translation>
    </message>
</context>
</TS>
