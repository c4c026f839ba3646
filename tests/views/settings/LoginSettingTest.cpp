// The login-settings page: the old password first, then the length rules in
// GBK bytes, the confirmation, and the store's answer.
#include <gtest/gtest.h>

#include "resources/settings_ids.h"
#include "settings/LoginSettingDialogClass.h"
#include "store/md5.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

using Texts = std::vector<std::string>;

// The program runs logged in as "tester" / "secret1".
class LoginSetting : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        Database().SetLogin("tester", "secret1");
        GotoLoginSetting();
        ASSERT_EQ(g_pCurrentDialog, &g_LoginSetting);
    }
    HWND F(int id) { return g_LoginSetting.Field(id); }
    void Fill(const std::string& name, const std::string& oldPwd, const std::string& newPwd,
              const std::string& confirm) {
        SetText(F(IDC_LSET_NAME), name);
        SetText(F(IDC_LSET_OLDPWD), oldPwd);
        SetText(F(IDC_LSET_NEWPWD), newPwd);
        SetText(F(IDC_LSET_CONFIRM), confirm);
    }
    void Save() { Click(g_LoginSetting, IDC_LSET_SAVE); }
    std::string StoredName() { return QueryText("SELECT set_loginname FROM setting"); }
    std::string StoredDigest() { return QueryText("SELECT set_loginpwd FROM setting"); }
    static std::string Digest(const std::string& gbk) {
        char sz[33];
        MD5DigestText(gbk.c_str(), sz);
        return sz;
    }
};

}  // namespace

TEST_F(LoginSetting, AWrongOldPasswordEmptiesThePasswordsAndKeepsTheName) {
    const std::string digest = StoredDigest();
    Fill("newname", "wrong", "newpass1", "newpass1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的密码错误请重新输入"});
    EXPECT_EQ(Text(F(IDC_LSET_NAME)), "newname");
    for (int id : {IDC_LSET_OLDPWD, IDC_LSET_NEWPWD, IDC_LSET_CONFIRM}) EXPECT_EQ(Text(F(id)), "") << id;
    EXPECT_EQ(StoredName(), "tester");
    EXPECT_EQ(StoredDigest(), digest);
}

TEST_F(LoginSetting, TheOldPasswordIsNeededEvenForANewNameAlone) {
    Fill("another", "", "secret1", "secret1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的密码错误请重新输入"});
    EXPECT_EQ(StoredName(), "tester");
    // Letter case counts.
    Fill("another", "SECRET1", "secret1", "secret1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的密码错误请重新输入"});
}

TEST_F(LoginSetting, TheNameIsCountedInGbkBytes) {
    Fill("ab", "secret1", "newpass1", "newpass1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的用户名小于3个字符，请重新输入"});
    EXPECT_EQ(Text(F(IDC_LSET_NEWPWD)), "newpass1") << "nothing emptied";
    EXPECT_EQ(StoredName(), "tester");

    // Two Chinese characters are four bytes: enough.
    Fill("张三", "secret1", "newpass1", "newpass1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您的用户名密码修改成功"});
    EXPECT_EQ(StoredName(), "张三");
    EXPECT_EQ(StoredDigest(), Digest("newpass1"));
    // The texts stay in the fields.
    EXPECT_EQ(Text(F(IDC_LSET_NAME)), "张三");
    EXPECT_EQ(Text(F(IDC_LSET_CONFIRM)), "newpass1");
}

TEST_F(LoginSetting, AShortNewPasswordIsRefusedBeforeTheConfirmation) {
    Fill("tester", "secret1", "12345", "different");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的密码小于6个字符，请重新输入"});
    EXPECT_EQ(Text(F(IDC_LSET_CONFIRM)), "different");
    // Three Chinese characters are six bytes: enough, and the digest is that
    // of the GBK bytes, as the login dialog computes it.
    Fill("tester", "secret1", "密码六", "密码六");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您的用户名密码修改成功"});
    EXPECT_EQ(StoredDigest(), Digest("密码六"));
    EXPECT_EQ(StoredDigest().size(), 32u);
}

TEST_F(LoginSetting, ADifferentConfirmationEmptiesTheNewPasswords) {
    Fill("tester", "secret1", "newpass1", "newpass2");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您输入的密码不一致请重新输入"});
    EXPECT_EQ(Text(F(IDC_LSET_OLDPWD)), "secret1");
    EXPECT_EQ(Text(F(IDC_LSET_NEWPWD)), "");
    EXPECT_EQ(Text(F(IDC_LSET_CONFIRM)), "");
    EXPECT_EQ(StoredDigest(), Digest("secret1"));
}

TEST_F(LoginSetting, AFailedUpdateShowsNoSuccess) {
    Database().Exec("CREATE TRIGGER no_save BEFORE UPDATE ON setting BEGIN SELECT RAISE(ABORT, 'refused'); END");
    Fill("o'neil", "secret1", "newpass1", "newpass1");
    Save();
    const Texts boxes = TakeBoxes();
    EXPECT_FALSE(boxes.empty()) << "the store reports the failure";
    for (const std::string& b : boxes) EXPECT_NE(b, "您的用户名密码修改成功");
    EXPECT_EQ(StoredName(), "tester");
}

TEST_F(LoginSetting, ANameWithAQuoteIsStoredAsTyped) {
    Fill("o'neil --", "secret1", "newpass1", "newpass1");
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您的用户名密码修改成功"});
    EXPECT_EQ(StoredName(), "o'neil --");
    EXPECT_EQ(StoredDigest(), Digest("newpass1"));
}

TEST_F(LoginSetting, OpeningAgainKeepsTheFieldsAndReadsNothing) {
    Fill("keepme", "x", "y", "z");
    GotoMailSetting();
    GotoLoginSetting();
    EXPECT_EQ(Text(F(IDC_LSET_NAME)), "keepme");
    EXPECT_EQ(Text(F(IDC_LSET_CONFIRM)), "z");
    EXPECT_EQ(GetFocus(), F(IDC_LSET_NAME));
    EXPECT_EQ(g_LoginSetting.TabTarget(IDC_LSET_CONFIRM, FALSE), F(IDC_LSET_SAVE));
    EXPECT_EQ(g_LoginSetting.TabTarget(IDC_LSET_SAVE, FALSE), F(IDC_LSET_NAME));
    EXPECT_EQ(g_LoginSetting.TabTarget(IDC_LSET_NAME, TRUE), F(IDC_LSET_SAVE));
}

TEST_F(LoginSetting, APasswordLongerThanTheFieldShowsIsStoredWhole) {
    // Typed key by key: the edits scroll on instead of stopping at their width.
    auto type = [&](int id, const std::string& s) {
        SetText(F(id), "");
        SetFocus(F(id));
        w32test::TypeText(s, F(id));
        EXPECT_EQ(Text(F(id)), s) << id;
    };
    const std::string pwd = "Abcdefgh12345678";  // 16 characters
    const std::string name = "a-user-name-of-forty-nine-characters-0123456789x";
    type(IDC_LSET_NAME, name + "y");
    type(IDC_LSET_OLDPWD, "secret1");
    type(IDC_LSET_NEWPWD, pwd);
    type(IDC_LSET_CONFIRM, pwd);
    Save();
    EXPECT_EQ(TakeBoxes(), Texts{"您的用户名密码修改成功"});
    EXPECT_EQ(StoredName(), name + "y");
    EXPECT_EQ(StoredDigest(), Digest(pwd));
    EXPECT_NE(StoredDigest(), Digest(pwd.substr(0, 12)));

    // The 49-character limit still holds for typing.
    SetFocus(F(IDC_LSET_NAME));
    w32test::TypeText("zz", F(IDC_LSET_NAME));
    EXPECT_EQ(Text(F(IDC_LSET_NAME)), name + "y");
}
