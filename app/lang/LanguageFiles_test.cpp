// The language files shipped in data/language/ against the ids the program looks up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "app/lang/TextIds.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

// data/ of the source tree (ctest sets TALVANE_SOURCE_DIR), else the build's program folder.
std::string ShippedDataFolder() {
    if (const char* source = std::getenv("TALVANE_SOURCE_DIR")) {
        return std::string(source) + "/data/";
    }
    if (const char* program = std::getenv("TALVANE_PROGRAM_DIR")) {
        return std::string(program) + "/";
    }
    return {};
}

struct LanguageFile {
    std::vector<int> ids;  // in file order
    std::map<int, std::wstring> texts;
    std::vector<std::string> problems;
};

// Reads the [LAN] section line by line, so that order, duplicates and stray lines show.
LanguageFile ReadLanguageFile(const std::string& path) {
    LanguageFile file;
    const std::wstring text = Quorl::Utf8ToWide(ReadFileText(path));
    bool inLan = false;
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (line.starts_with(L"\uFEFF")) {
            line.erase(0, 1);
        }
        if (line.empty() || line.front() == L';') {
            continue;
        }
        const std::string where = path + ":" + std::to_string(lineNumber) + " ";
        if (line.front() == L'[') {
            inLan = line == L"[LAN]";
            if (!inLan) {
                file.problems.push_back(where + "a section other than [LAN]");
            }
            continue;
        }
        const size_t equals = line.find(L'=');
        if (!inLan || equals == std::wstring::npos || equals == 0 ||
            line.find_first_not_of(L"0123456789") != equals) {
            file.problems.push_back(where + "not an id=text line");
            continue;
        }
        const int id = std::stoi(line.substr(0, equals));
        std::wstring value = line.substr(equals + 1);
        if (!file.ids.empty() && id <= file.ids.back()) {
            file.problems.push_back(where + "id " + std::to_string(id) + " out of order");
        }
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.find_first_not_of(L" \t") == std::wstring::npos) {
            file.problems.push_back(where + "id " + std::to_string(id) + " has no text");
        }
        if (value.size() > 259) {
            file.problems.push_back(where + "id " + std::to_string(id) + " longer than 259");
        }
        file.ids.push_back(id);
        file.texts[id] = value;
    }
    return file;
}

// The name and function-description text ids of the shipped device descriptions.
std::set<int> DeviceDescriptionTextIds(const std::string& dataFolder) {
    std::set<int> ids;
    std::error_code error;
    const std::regex attribute(R"(\b(name|func_desc)\s*=\s*"\s*([0-9]+))");
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder + "device", error)) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        const std::string text = ReadFileText(entry.path().string());
        const std::regex key(R"(<key\b[^>]*>)");
        for (std::sregex_iterator k(text.begin(), text.end(), key), endKeys; k != endKeys; ++k) {
            const std::string element = k->str();
            for (std::sregex_iterator a(element.begin(), element.end(), attribute), endA; a != endA;
                 ++a) {
                ids.insert(std::stoi((*a)[2].str()));
            }
        }
    }
    return ids;
}

class ShippedLanguageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = ShippedDataFolder();
        ASSERT_FALSE(data_.empty()) << "set TALVANE_SOURCE_DIR or TALVANE_PROGRAM_DIR";
        english_ = ReadLanguageFile(data_ + "language/1033.lan");
        russian_ = ReadLanguageFile(data_ + "language/1049.lan");
        SetLanguageFolder(Quorl::Utf8ToWide(data_ + "language"));
    }
    void TearDown() override { SetLanguageFolder({}); }

    std::string data_;
    LanguageFile english_;
    LanguageFile russian_;
};

TEST_F(ShippedLanguageFiles, DefineEveryIdTheProgramLooksUp) {
    std::set<int> wanted;
    for (int id : TextIdsInUse()) {
        wanted.insert(id);
    }
    for (int id : DeviceDescriptionTextIds(data_)) {
        wanted.insert(id);
    }
    ASSERT_GT(wanted.size(), 250u);
    for (int language : {kLanguageEnglish, kLanguageRussian}) {
        for (int id : wanted) {
            EXPECT_FALSE(GetLangText(L"LAN", id, language).empty())
                << "text " << id << " missing in " << language << ".lan";
        }
    }
}

TEST_F(ShippedLanguageFiles, AreWellFormedAndDefineTheSameIds) {
    ASSERT_FALSE(english_.ids.empty());
    for (const LanguageFile* file : {&english_, &russian_}) {
        for (const std::string& problem : file->problems) {
            ADD_FAILURE() << problem;
        }
    }
    EXPECT_EQ(english_.ids, russian_.ids);
    // Every text beyond the registry is still one the program can reach: none is left over.
    const std::vector<int> inUse = TextIdsInUse();
    const std::set<int> registry(inUse.begin(), inUse.end());
    const std::set<int> devices = DeviceDescriptionTextIds(data_);
    for (int id : english_.ids) {
        EXPECT_TRUE(registry.contains(id) || devices.contains(id)) << "text " << id << " unused";
    }
}

// The default-name rules compare stored names with compiled words; the files must use them.
TEST_F(ShippedLanguageFiles, DefaultNameWordsMatchTheCompiledOnes) {
    EXPECT_EQ(english_.texts[TextId::kCustomName], L"Custom");
    EXPECT_EQ(russian_.texts[TextId::kCustomName],
              L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442\u0435\u043B\u044C\u0441"
              L"\u043A\u0438\u0439");
    EXPECT_EQ(english_.texts[TextId::kCopy], L"Copy");
    EXPECT_EQ(russian_.texts[TextId::kCopy],
              L"\u041A\u043E\u043F\u0438\u0440\u043E\u0432\u0430\u0442\u044C");
    EXPECT_EQ(english_.texts[TextId::kProfileWord], L"Profile");
    EXPECT_EQ(russian_.texts[TextId::kProfileWord], L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C");
    // Macro steps read from the mouse are told apart by these words.
    EXPECT_NE(english_.texts[112].find(L"Scroll Up"), std::wstring::npos);
    EXPECT_NE(english_.texts[113].find(L"Scroll Down"), std::wstring::npos);
}

}  // namespace
