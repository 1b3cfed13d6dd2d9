// The resources of setup.exe of the default package: the package itself, the icon,
// the version block and the manifest, and nothing else.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Set once by wmain, before any test runs.
std::wstring gSetupPath;
std::wstring gArchivePath;

struct FreeModule {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

class SetupResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryExW(gSetupPath.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_NE(module_, nullptr) << "cannot open "
                                << std::string(gSetupPath.begin(), gSetupPath.end());
  }

  // The data of one resource stored under exactly this language.
  std::vector<std::uint8_t> Data(const wchar_t* type, const wchar_t* name, WORD language) {
    HRSRC found = FindResourceExW(module_.get(), type, name, language);
    if (found == nullptr) return {};
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(module_.get(), found)));
    return {bytes, bytes + SizeofResource(module_.get(), found)};
  }

  ModuleHandle module_;
};

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR types) {
  auto* names = reinterpret_cast<std::set<std::wstring>*>(types);
  names->insert(IS_INTRESOURCE(type) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(type))
                                     : std::wstring(type));
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  auto* found = reinterpret_cast<std::set<std::wstring>*>(names);
  found->insert(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                     : std::wstring(name));
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::set<WORD>*>(languages)->insert(language);
  return TRUE;
}

// The entries of one string-table block, decoded from its length-prefixed form.
std::vector<std::wstring> StringBlock(const std::vector<std::uint8_t>& data) {
  std::vector<std::wstring> strings;
  const auto* words = reinterpret_cast<const wchar_t*>(data.data());
  const auto* end = words + data.size() / sizeof(wchar_t);
  while (words < end && strings.size() < 16) {
    const std::size_t length = static_cast<std::uint16_t>(*words++);
    strings.emplace_back(words, words + length);
    words += length;
  }
  return strings;
}

std::wstring VersionString(const std::vector<std::uint8_t>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041004B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) return L"<absent>";
  return std::wstring(static_cast<const wchar_t*>(value));
}

TEST_F(SetupResources, HoldsExactlyTheInstallerAndPackageResources) {
  std::set<std::wstring> types;
  EnumResourceTypesW(module_.get(), CollectType, reinterpret_cast<LONG_PTR>(&types));
  EXPECT_EQ(types, (std::set<std::wstring>{L"CUSTOM", L"#3", L"#6", L"#14", L"#16", L"#24"}));

  std::set<std::wstring> custom;
  EnumResourceNamesW(module_.get(), L"CUSTOM", CollectName, reinterpret_cast<LONG_PTR>(&custom));
  EXPECT_EQ(custom, std::set<std::wstring>{L"#101"});
  std::set<std::wstring> stringBlocks;
  EnumResourceNamesW(module_.get(), RT_STRING, CollectName,
                     reinterpret_cast<LONG_PTR>(&stringBlocks));
  EXPECT_EQ(stringBlocks, std::set<std::wstring>{L"#7"});
}

TEST_F(SetupResources, StringTableHoldsTheManifestInEnglish) {
  std::set<WORD> languages;
  EnumResourceLanguagesW(module_.get(), RT_STRING, MAKEINTRESOURCEW(7), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::set<WORD>{0x0409});

  const std::vector<std::wstring> block = StringBlock(Data(RT_STRING, MAKEINTRESOURCEW(7), 0x0409));
  ASSERT_EQ(block.size(), 16u);  // strings 96 to 111
  for (std::size_t entry = 0; entry < block.size(); ++entry) {
    const std::size_t number = 96 + entry;
    if (number == 100) {
      EXPECT_EQ(block[entry], L"1");
    } else if (number == 101) {
      EXPECT_EQ(block[entry], L"Brevanti.zip|<APPPATH>Corsenta/|N|");
    } else {
      EXPECT_EQ(block[entry], L"") << "string " << number;
    }
  }
}

TEST_F(SetupResources, CustomResourceIsTheArchiveAndOneZeroByteInItalian) {
  std::set<WORD> languages;
  EnumResourceLanguagesW(module_.get(), L"CUSTOM", MAKEINTRESOURCEW(101), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::set<WORD>{0x0410});

  const std::vector<std::uint8_t> payload = Data(L"CUSTOM", MAKEINTRESOURCEW(101), 0x0410);
  std::ifstream archive(std::filesystem::path(gArchivePath), std::ios::binary);
  ASSERT_TRUE(archive) << "the generated archive is missing";
  const std::vector<std::uint8_t> expected{std::istreambuf_iterator<char>(archive), {}};

  EXPECT_EQ(payload, expected);
  ASSERT_GT(payload.size(), 26u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 4), std::string("PK\3\4", 4));
  // The archive's end record (no comment) comes right before the one zero byte.
  EXPECT_EQ(std::string(payload.end() - 23, payload.end() - 19), std::string("PK\5\6", 4));
  EXPECT_EQ(payload.back(), 0);
}

TEST_F(SetupResources, IconIsOne32By32ImageIn16ColoursNumbered30001) {
  const std::vector<std::uint8_t> group = Data(RT_GROUP_ICON, MAKEINTRESOURCEW(1), 0);
  ASSERT_EQ(group.size(), 20u);
  const auto* header = reinterpret_cast<const std::uint16_t*>(group.data());
  EXPECT_EQ(header[1], 1);  // an icon, not a cursor
  EXPECT_EQ(header[2], 1);  // one image
  EXPECT_EQ(group[6], 32);
  EXPECT_EQ(group[7], 32);
  EXPECT_EQ(group[8], 16);
  std::uint16_t imageNumber = 0;
  std::memcpy(&imageNumber, group.data() + 18, sizeof imageNumber);
  EXPECT_EQ(imageNumber, 30001);

  const std::vector<std::uint8_t> image = Data(RT_ICON, MAKEINTRESOURCEW(30001), 0);
  ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER bitmap;
  std::memcpy(&bitmap, image.data(), sizeof bitmap);
  EXPECT_EQ(bitmap.biWidth, 32);
  EXPECT_EQ(bitmap.biHeight, 64);  // the image and its mask
  EXPECT_EQ(bitmap.biBitCount, 4);
}

TEST_F(SetupResources, VersionBlockIsItalianWithVersion101) {
  const std::vector<std::uint8_t> block = Data(RT_VERSION, MAKEINTRESOURCEW(1), 0x0410);
  ASSERT_FALSE(block.empty());

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileOS, 4u);
  EXPECT_EQ(fixed->dwFileType, 1u);

  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(LOWORD(*translation), 0x0410);
  EXPECT_EQ(HIWORD(*translation), 1200);

  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.01");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.01");
  for (const wchar_t* blank : {L"CompanyName", L"FileDescription", L"LegalCopyright",
                               L"LegalTrademarks", L"ProductName"}) {
    EXPECT_EQ(VersionString(block, blank), L" ") << std::string(blank, blank + wcslen(blank));
  }
  EXPECT_EQ(VersionString(block, L"InternalName"), L"setup");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"setup.exe");
}

TEST_F(SetupResources, ManifestAsksForAdministratorPerMonitorDpiAndCommonControls6) {
  const std::vector<std::uint8_t> data = Data(RT_MANIFEST, MAKEINTRESOURCEW(1), 0);
  const std::string manifest(data.begin(), data.end());
  EXPECT_NE(manifest.find(R"(level="requireAdministrator")"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find(R"(version="6.0.0.0")"), std::string::npos);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: velbor_setup_resources_test SETUP_EXE ARCHIVE\n");
    return 2;
  }
  gSetupPath = argv[1];
  gArchivePath = argv[2];
  return RUN_ALL_TESTS();
}
