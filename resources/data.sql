-- Shipped rows of mydata.tvd: the lookup values and the one settings row.

INSERT INTO important(imp_description) VALUES ('高'), ('中'), ('低');

INSERT INTO relation(rel_description) VALUES
    ('客户'), ('潜在客户'), ('合作伙伴'), ('供应商'), ('竞争对手'), ('其他');

INSERT INTO province(pro_description) VALUES
    ('北京'), ('天津'), ('上海'), ('重庆'), ('河北'), ('山西'), ('内蒙古'), ('辽宁'),
    ('吉林'), ('黑龙江'), ('江苏'), ('浙江'), ('安徽'), ('福建'), ('江西'), ('山东'),
    ('河南'), ('湖北'), ('湖南'), ('广东'), ('广西'), ('海南'), ('四川'), ('贵州'),
    ('云南'), ('西藏'), ('陕西'), ('甘肃'), ('青海'), ('宁夏'), ('新疆'), ('香港'),
    ('澳门'), ('台湾');

INSERT INTO phase(pha_description, pha_succeed_probability) VALUES
    ('初步接触', 10),
    ('需求分析', 25),
    ('方案制定', 40),
    ('商务谈判', 60),
    ('合同签订', 80),
    ('结束－成功', 100),
    ('结束－失败', 0);

INSERT INTO industry(ind_description) VALUES
    ('政府机关'), ('金融'), ('电信'), ('能源'), ('制造业'), ('交通物流'), ('教育'),
    ('医疗卫生'), ('房地产'), ('建筑'), ('零售'), ('IT服务'), ('软件'), ('传媒'),
    ('农业'), ('其他');

INSERT INTO type(typ_description) VALUES
    ('最终用户'), ('代理商'), ('集成商'), ('分销商'), ('竞争对手'), ('其他');

INSERT INTO setting(set_id, set_emailaddress, set_smtpserver, set_user, set_pwd, set_port,
                    set_esmtp, set_ssl, set_sign, set_name, set_init, set_loginname,
                    set_loginpwd, set_reserved1, set_reserved2, set_reserved3, set_againtime)
VALUES (1, '', '', '', '', '25', 0, 0, '', '', 0, '', '', '', '', '', 5);
