// The resources of setup.exe of the default package: the package itself, the icon,
// the version block and the manifest, and nothing else; and the image that carries
// them: its hardening and the system functions it imports.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/win32/cng_sha256.h"
#include "package/item_stream.h"
#include "package/stream_item.h"

using velbor::ByteView;
using velbor::CngSha256;
using velbor::ContentPlace;
using velbor::DecodeStreamItem;
using velbor::FindStreamPlace;
using velbor::Sha256Digest;

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
  // The manual compresses by more than 5 %: stored in the stream of the items
  // stored together, with its table, in place of its CUSTOM resource.
  EXPECT_EQ(types, (std::set<std::wstring>{L"ITEMSTREAM", L"PAYLOADSHA256", L"#3", L"#6", L"#14",
                                           L"#16", L"#24"}));

  std::set<std::wstring> stream;
  EnumResourceNamesW(module_.get(), L"ITEMSTREAM", CollectName,
                     reinterpret_cast<LONG_PTR>(&stream));
  EXPECT_EQ(stream, (std::set<std::wstring>{L"#1", L"#2"}));
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

TEST_F(SetupResources, StoredItemDecodesToTheArchiveAndOneZeroByte) {
  std::set<WORD> languages;
  EnumResourceLanguagesW(module_.get(), L"ITEMSTREAM", MAKEINTRESOURCEW(1), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::set<WORD>{0});

  const std::vector<std::uint8_t> frame = Data(L"ITEMSTREAM", MAKEINTRESOURCEW(1), 0);
  const std::optional<ContentPlace> place =
      FindStreamPlace(Data(L"ITEMSTREAM", MAKEINTRESOURCEW(2), 0), 101);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->offset, 0u);
  std::vector<std::uint8_t> payload;
  DecodeStreamItem(frame, *place, [&](ByteView piece) {
    payload.insert(payload.end(), piece.begin(), piece.end());
  });
  std::ifstream archive(std::filesystem::path(gArchivePath), std::ios::binary);
  ASSERT_TRUE(archive) << "the generated archive is missing";
  const std::vector<std::uint8_t> expected{std::istreambuf_iterator<char>(archive), {}};

  EXPECT_EQ(payload, expected);
  ASSERT_GT(payload.size(), 26u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 4), std::string("PK\3\4", 4));
  // The archive's end record (no comment) comes right before the one zero byte.
  EXPECT_EQ(std::string(payload.end() - 23, payload.end() - 19), std::string("PK\5\6", 4));
  EXPECT_EQ(payload.back(), 0);

  // The SHA-256 of the frame, which the program checks before it writes anything,
  // and that of the archive, in resources of the installer's own.
  const Sha256Digest stored = CngSha256().Of(frame, {});
  EXPECT_EQ(Data(L"PAYLOADSHA256", MAKEINTRESOURCEW(1), 0),
            std::vector<std::uint8_t>(stored.begin(), stored.end()));
  const Sha256Digest digest = CngSha256().Of(expected, {});
  EXPECT_EQ(Data(L"PAYLOADSHA256", MAKEINTRESOURCEW(2), 0),
            std::vector<std::uint8_t>(digest.begin(), digest.end()));
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

// The image as the loader lays it out: a module loaded as an image resource is
// mapped with its sections at their addresses, and its handle carries flags in its
// low bits. 32-bit and 64-bit images differ only in their optional header.
// "DLL!function", the DLL's name in capitals: Windows does not tell letter case
// apart in DLL names, but does in function names.
std::string ImportKey(std::string dll, const std::string& function) {
  for (char& letter : dll) letter = static_cast<char>(toupper(static_cast<unsigned char>(letter)));
  return dll + "!" + function;
}

class MappedImage {
 public:
  explicit MappedImage(HMODULE module)
      : base_(reinterpret_cast<const std::uint8_t*>(reinterpret_cast<std::uintptr_t>(module) &
                                                    ~std::uintptr_t{3})) {
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    const auto* nt = At<IMAGE_NT_HEADERS32>(static_cast<DWORD>(dos->e_lfanew));
    file_ = &nt->FileHeader;
    is64_ = nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    if (is64_) {
      const auto* optional = &reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader;
      dllCharacteristics_ = optional->DllCharacteristics;
      directories_ = {optional->DataDirectory, optional->NumberOfRvaAndSizes};
    } else {
      dllCharacteristics_ = nt->OptionalHeader.DllCharacteristics;
      directories_ = {nt->OptionalHeader.DataDirectory, nt->OptionalHeader.NumberOfRvaAndSizes};
    }
    sections_ = {IMAGE_FIRST_SECTION(nt), file_->NumberOfSections};
  }

  template <typename T>
  const T* At(DWORD rva) const {
    return reinterpret_cast<const T*>(base_ + rva);
  }
  const IMAGE_FILE_HEADER& File() const { return *file_; }
  WORD DllCharacteristics() const { return dllCharacteristics_; }
  IMAGE_DATA_DIRECTORY Directory(std::size_t index) const {
    return index < directories_.size() ? directories_[index] : IMAGE_DATA_DIRECTORY{};
  }
  std::span<const IMAGE_SECTION_HEADER> Sections() const { return sections_; }

  // Every imported function, as ImportKey names it ("#n" for one imported by number).
  std::vector<std::string> ImportedFunctions() const {
    std::vector<std::string> functions;
    const DWORD directory = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress;
    if (directory == 0) return functions;
    for (const auto* library = At<IMAGE_IMPORT_DESCRIPTOR>(directory); library->Name != 0;
         ++library) {
      const std::string dll = At<char>(library->Name);
      const DWORD thunks =
          library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk;
      for (DWORD entry = thunks;; entry += is64_ ? 8 : 4) {
        const std::uint64_t thunk = is64_ ? *At<std::uint64_t>(entry) : *At<std::uint32_t>(entry);
        if (thunk == 0) break;
        const std::uint64_t byOrdinal = is64_ ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
        std::string name = "#";
        if ((thunk & byOrdinal) != 0) {
          name += std::to_string(thunk & 0xFFFF);
        } else {
          name = At<IMAGE_IMPORT_BY_NAME>(static_cast<DWORD>(thunk))->Name;
        }
        functions.push_back(ImportKey(dll, name));
      }
    }
    return functions;
  }

 private:
  const std::uint8_t* base_;
  const IMAGE_FILE_HEADER* file_ = nullptr;
  bool is64_ = false;
  WORD dllCharacteristics_ = 0;
  std::span<const IMAGE_DATA_DIRECTORY> directories_;
  std::span<const IMAGE_SECTION_HEADER> sections_;
};

TEST_F(SetupResources, ImageIsStrippedLargeAddressAwareAndKeepsAslrAndDep) {
  const MappedImage image(module_.get());
  EXPECT_NE(image.File().Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);
  EXPECT_EQ(image.File().PointerToSymbolTable, 0u);
  EXPECT_EQ(image.File().NumberOfSymbols, 0u);
  for (const IMAGE_SECTION_HEADER& section : image.Sections()) {
    // Long section names ("/4") live in the symbol table and are the debug sections.
    const std::string name(reinterpret_cast<const char*>(section.Name),
                           strnlen(reinterpret_cast<const char*>(section.Name), 8));
    EXPECT_FALSE(name.starts_with(".debug") || name.starts_with("/")) << name;
  }
  EXPECT_EQ(image.Directory(IMAGE_DIRECTORY_ENTRY_DEBUG).Size, 0u);

  const WORD flags = image.DllCharacteristics();
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE, 0);
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT, 0);
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, 0);
  // A movable image needs its relocations.
  EXPECT_GT(image.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
}

// The first Windows of each function that may be imported, from the list that this
// program carries (windows_imports.txt): "DLL!function" to its place in kWindows.
constexpr const char* kWindows[] = {"2000", "XP", "Vista", "7", "8", "8.1", "10"};
constexpr std::size_t kOldestServed = 3;  // Windows 7 SP1

std::map<std::string, std::size_t> FirstWindowsOfImports() {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_RCDATA);
  if (found == nullptr) return {};
  const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  std::istringstream lines(std::string(text, SizeofResource(nullptr, found)));
  std::map<std::string, std::size_t> firstWindows;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string dll, function, windows;
    if (!(words >> dll >> function >> windows)) continue;
    const auto known = std::find(std::begin(kWindows), std::end(kWindows), windows);
    EXPECT_NE(known, std::end(kWindows)) << "unknown Windows version in: " << line;
    firstWindows[ImportKey(dll, function)] = static_cast<std::size_t>(known - std::begin(kWindows));
  }
  return firstWindows;
}

TEST_F(SetupResources, ImportsOnlyListedFunctionsThatWindows7Sp1Has) {
  const std::map<std::string, std::size_t> firstWindows = FirstWindowsOfImports();
  ASSERT_FALSE(firstWindows.empty()) << "the list of imports is missing";
  const std::vector<std::string> imports = MappedImage(module_.get()).ImportedFunctions();
  EXPECT_FALSE(imports.empty());

  std::ostringstream refused;
  for (const std::string& import : imports) {
    const auto entry = firstWindows.find(import);
    if (entry == firstWindows.end()) {
      refused << "\n  " << import << ": not on the list of imports";
    } else if (entry->second > kOldestServed) {
      refused << "\n  " << import << ": first in Windows " << kWindows[entry->second]
              << ", newer than Windows 7 SP1; look it up at run time";
    }
  }
  EXPECT_TRUE(refused.str().empty())
      << "setup.exe imports what Windows 7 SP1 may lack:" << refused.str();
}

TEST_F(SetupResources, ManifestAsksForAdministratorPerMonitorDpiAndCommonControls6) {
  const std::vector<std::uint8_t> data = Data(RT_MANIFEST, MAKEINTRESOURCEW(1), 0);
  const std::string manifest(data.begin(), data.end());
  EXPECT_NE(manifest.find(R"(level="requireAdministrator")"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find(R"(version="6.0.0.0")"), std::string::npos);

  // The systems it declares are those that its imports prove it starts on:
  // Windows 7, 8, 8.1 and 10 (11 goes by 10's entry).
  std::set<std::string> systems;
  constexpr std::string_view kSystem = R"(supportedOS Id=")";
  for (std::size_t at = manifest.find(kSystem); at != std::string::npos;
       at = manifest.find(kSystem, at + 1)) {
    const std::size_t id = at + kSystem.size();
    systems.insert(manifest.substr(id, manifest.find('"', id) - id));
  }
  EXPECT_EQ(systems, (std::set<std::string>{"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                            "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                            "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                            "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));
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
