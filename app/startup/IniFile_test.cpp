#include "app/startup/IniFile.h"

#include <gtest/gtest.h>

#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(IniFile, ReadsValuesByThePrivateProfileRules) {
    TempFolder folder;
    const std::string path = folder / "1049.lan";
    WriteFileText(path,
                  "\xEF\xBB\xBF; comment\r\n"
                  "[Other]\n61=wrong section\n"
                  "[ lan ]\r\n"
                  "  61 = \xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C  \r\n"
                  "62=\"  quoted  \"\n"
                  "63=a=b\n"
                  "61=second occurrence\n"
                  "novalue\n"
                  "64=\n");
    const std::wstring file = Quorl::Utf8ToWide(path);
    EXPECT_EQ(ReadIniString(L"LAN", L"61", file), L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C");
    EXPECT_EQ(ReadIniString(L"LAN", L"62", file), L"  quoted  ");
    EXPECT_EQ(ReadIniString(L"LAN", L"63", file), L"a=b");
    EXPECT_EQ(ReadIniString(L"LAN", L"64", file), L"");
    EXPECT_EQ(ReadIniString(L"LAN", L"novalue", file), L"");
    EXPECT_EQ(ReadIniString(L"LAN", L"99", file), L"");
    EXPECT_EQ(ReadIniString(L"None", L"61", file), L"");
    EXPECT_EQ(ReadIniString(L"LAN", L"61", Quorl::Utf8ToWide(folder / "missing.lan")), L"");
}

TEST(IniFile, ValuesAreCutAt259Characters) {
    TempFolder folder;
    const std::string path = folder / "long.ini";
    WriteFileText(path, "[s]\nk=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(ReadIniString(L"s", L"k", Quorl::Utf8ToWide(path)), std::wstring(259, L'x'));
}

TEST(IniFile, SetAndSerializeKeepOtherEntries) {
    IniDocument document = IniDocument::Parse("[Talvane]\nLCID=1049\nOther=x\n[Extra]\nk=v\n");
    document.Set(L"talvane", L"lcid", L"1033");
    document.Set(L"Talvane", L"DeviceType", L"101");
    document.Set(L"New", L"a", L"b");
    EXPECT_EQ(document.Serialize(),
              "[Talvane]\nLCID=1033\nOther=x\nDeviceType=101\n[Extra]\nk=v\n[New]\na=b\n");
}

TEST(IniFile, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    TempFolder folder;
    const std::string path = folder / "settings.ini";
    WriteFileText(path, "old");
    ASSERT_TRUE(WriteFileAtomically(path, "new contents"));
    EXPECT_EQ(ReadFileText(path), "new contents");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
    EXPECT_FALSE(WriteFileAtomically(folder / "no/such/folder/x", "y"));
}

}  // namespace
