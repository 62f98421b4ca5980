<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KOVVideoImg</name>
    <message>
        <source>缺失数据文件 / 读取图片信息错误，无法获取设备信息及图片信息！</source>
        <translation>Missing data files / Reading picture information error，Unable to obtain information！</translation>
    </message>
    <message>
        <source>截取视频</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>随报告导出</source>
        <translation>Save with report</translation>
    </message>
    <message>
        <source>超声波幅值</source>
        <translation>Ultrasonic</translation>
    </message>
    <message>
        <source>频率范围</source>
        <translation>Frequency Range</translation>
    </message>
    <message>
        <source>动态范围</source>
        <translation>Dynamic</translation>
    </message>
    <message>
        <source>测试时间</source>
        <translation>Test Time</translation>
    </message>
    <message>
        <source>最大声压级可能有误，请复核</source>
        <translation>max SPL maybe error, please review</translation>
    </message>
    <message>
        <source>最大声压级</source>
        <translation>Maximum SPL</translation>
    </message>
    <message>
        <source>源文件标注</source>
        <translation>File Tags</translation>
    </message>
    <message>
        <source>锁定图片</source>
        <translation>Locked Images</translation>
    </message>
    <message>
        <source>故障严重等级诊断</source>
        <translation>Fault Level</translation>
    </message>
    <message>
        <source>检修建议</source>
        <translation>Maintenance Suggestion</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Abnormal</translation>
    </message>
    <message>
        <source>缺陷</source>
        <translation>Defect</translation>
    </message>
    <message>
        <source>无缺陷</source>
        <translation>No Defect</translation>
    </message>
    <message>
        <source>轻微缺陷</source>
        <translation>Minor Defect</translation>
    </message>
    <message>
        <source>一般缺陷</source>
        <translation>General Defect</translation>
    </message>
    <message>
        <source>较大缺陷</source>
        <translation>Lager Defect</translation>
    </message>
    <message>
        <source>重大缺陷</source>
        <translation>Serious Defect</translation>
    </message>
    <message>
        <source>放电类型</source>
        <translation>Discharge Type</translation>
    </message>
    <message>
        <source>气体</source>
        <translation>Gas</translation>
    </message>
    <message>
        <source>电力</source>
        <translation>Electricity</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>测试点信息</source>
        <translation>Test Point Information</translation>
    </message>
    <message>
        <source>故障点位置</source>
        <translation>Fault Position</translation>
    </message>
    <message>
        <source>测试距离</source>
        <translation>Test Distance</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>故障位置</source>
        <translation>Fault Site</translation>
    </message>
    <message>
        <source>气压</source>
        <translation>Air Pressure</translation>
    </message>
    <message>
        <source>气体类型</source>
        <translation>Gas Type</translation>
    </message>
    <message>
        <source>气压(MPa)</source>
        <translation>Air Pressure(MPa)</translation>
    </message>
    <message>
        <source>气体泄漏量(ml/s)</source>
        <translation>Leakage(ml/s)</translation>
    </message>
    <message>
        <source>经济损失详细测算</source>
        <translation>Detailed Calculation of Economic Losses</translation>
    </message>
    <message>
        <source>能源成本(/kWh)</source>
        <translation>Energy Costs(/kWh)</translation>
    </message>
    <message>
        <source>比功率(kW/(m3/min))</source>
        <translation>Specific Power(kW/(m3/min))</translation>
    </message>
    <message>
        <source>气体价值(/m3)</source>
        <translation>Gas Value(/m3)</translation>
    </message>
    <message>
        <source>金额(/年)</source>
        <translation>Money(/year)</translation>
    </message>
    <message>
        <source>注意：比功率、能源成本、气体价值可设置且仅能设置数值；气体价值、气体泄漏量均为工业气体标准情况下的值</source>
        <translation>Attention:specific power, energy costs, gas value can only be set numerically;Gas value, leakage are the values of industrial standard conditions</translation>
    </message>
    <message>
        <source>系统年工作时长(h)</source>
        <translation>System Annual Working Duration(h)</translation>
    </message>
    <message>
        <source>时间/m:s.z</source>
        <translation>Time/m:s.z</translation>
    </message>
    <message>
        <source>（判断依据，不随报告导出）</source>
        <translation>（Judgment Basis, not export with report）</translation>
    </message>
    <message>
        <source>数据源：</source>
        <translation>Data Source：</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>保存并覆盖原有测试点信息</source>
        <translation>Save and overwrite the original test point information</translation>
    </message>
</context>
</TS>
