// Reads the icon, version block and manifest back from the built Quillet.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <winver.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "drive.h"
#include "suite_start.h"
#include "resource.h"

// From the command line: the program under test and the icon file it was built from.
static std::wstring exePath;
static std::wstring iconPath;

static const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US); // 0x0409

// A resource's raw bytes, empty when it is missing.
static std::vector<uint8_t> ResourceBytes(HMODULE module, LPCWSTR type, WORD id)
{
    HRSRC info = FindResourceExW(module, type, MAKEINTRESOURCEW(id), kEnglishUs);
    if (info == nullptr) {
        return {};
    }
    HGLOBAL handle = LoadResource(module, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (data == nullptr) {
        return {};
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, info));
}

// A whole file's bytes, empty when it cannot be read.
static std::vector<uint8_t> FileBytes(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return bytes;
    }
    uint8_t buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    fclose(file);
    return bytes;
}

static uint16_t Le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

static uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(Le16(b, at)) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}

static uint32_t Be32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b.at(at)) << 24 | static_cast<uint32_t>(b.at(at + 1)) << 16 |
           static_cast<uint32_t>(b.at(at + 2)) << 8 | b.at(at + 3);
}

class Resources : public ::testing::Test {
  protected:
    static HMODULE module;
    static DWORD loadError;

    // Opened as a data file: its resources readable, no code run.
    static void SetUpTestSuite()
    {
        module = LoadLibraryExW(exePath.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        loadError = module ? 0 : GetLastError();
    }
    static void TearDownTestSuite()
    {
        if (module != nullptr) {
            FreeLibrary(module);
        }
        module = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, module) << "cannot open " << exePath << ", error " << loadError;
    }
};

HMODULE Resources::module = nullptr;
DWORD Resources::loadError = 0;

// ---------------------------------------------------------------------------
// Which resources exist, and their language.

// A resource type or name as text: "#n" for a number, as Windows writes it.
static std::wstring ResourceKey(LPCWSTR name)
{
    if (IS_INTRESOURCE(name)) {
        return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    }
    return name;
}

using ResourceList = std::map<std::pair<std::wstring, std::wstring>, std::vector<WORD>>;

static BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language,
                                     LONG_PTR list)
{
    (*reinterpret_cast<ResourceList*>(list))[{ResourceKey(type), ResourceKey(name)}].push_back(
        language);
    return TRUE;
}

static BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list)
{
    EnumResourceLanguagesW(module, type, name, CollectLanguage, list);
    return TRUE;
}

static BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR list)
{
    EnumResourceNamesW(module, type, CollectName, list);
    return TRUE;
}

TEST_F(Resources, ExactlyTheseResourcesEachInUsEnglishOnly)
{
    ResourceList found;
    EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&found));

    static const struct {
        const wchar_t* type;
        const wchar_t* name;
    } expected[] = {
        {L"#3", L"#1"},    // RT_ICON, the 16 px image
        {L"#3", L"#2"},    // RT_ICON, the 24 px image
        {L"#3", L"#3"},    // RT_ICON, the 32 px image
        {L"#3", L"#4"},    // RT_ICON, the 48 px image
        {L"#3", L"#5"},    // RT_ICON, the 64 px image
        {L"#3", L"#6"},    // RT_ICON, the 128 px image
        {L"#3", L"#7"},    // RT_ICON, the 256 px image
        {L"#14", L"#101"}, // RT_GROUP_ICON
        {L"#16", L"#1"},   // RT_VERSION
        {L"#24", L"#1"},   // RT_MANIFEST
    };
    ResourceList wanted;
    for (const auto& row : expected) {
        wanted[{row.type, row.name}] = {kEnglishUs};
    }
    EXPECT_EQ(wanted, found);
}

// ---------------------------------------------------------------------------
// Version block.

// The block as GetFileVersionInfoW reads it from the file.
static std::vector<uint8_t> VersionInfo()
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exePath.c_str(), &ignored);
    std::vector<uint8_t> block(size);
    if (size == 0 || !GetFileVersionInfoW(exePath.c_str(), 0, size, block.data())) {
        block.clear();
    }
    return block;
}

// The project's version, as the build passes it: major.minor.patch.0.
static const DWORD kVersionMS = QUILLET_PROJECT_VERSION_MAJOR << 16 | QUILLET_PROJECT_VERSION_MINOR;
static const DWORD kVersionLS = QUILLET_PROJECT_VERSION_PATCH << 16;

TEST_F(Resources, VersionFixedPart)
{
    std::vector<uint8_t> block = VersionInfo();
    ASSERT_FALSE(block.empty());
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    const VS_FIXEDFILEINFO& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);

    const struct {
        const char* field;
        DWORD expected;
        DWORD actual;
    } rows[] = {
        {"dwSignature", 0xFEEF04BD, fixed.dwSignature},
        {"dwStrucVersion", 0x00010000, fixed.dwStrucVersion},
        {"dwFileVersionMS", kVersionMS, fixed.dwFileVersionMS},
        {"dwFileVersionLS", kVersionLS, fixed.dwFileVersionLS},
        {"dwProductVersionMS", kVersionMS, fixed.dwProductVersionMS},
        {"dwProductVersionLS", kVersionLS, fixed.dwProductVersionLS},
        {"dwFileFlagsMask", 0x3F, fixed.dwFileFlagsMask},
        {"dwFileFlags", 0, fixed.dwFileFlags},
        {"dwFileOS", VOS_NT_WINDOWS32, fixed.dwFileOS},
        {"dwFileType", VFT_APP, fixed.dwFileType},
        {"dwFileSubtype", 0, fixed.dwFileSubtype},
        {"dwFileDateMS", 0, fixed.dwFileDateMS},
        {"dwFileDateLS", 0, fixed.dwFileDateLS},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        EXPECT_EQ(row.expected, row.actual);
    }
}

static const struct {
    const wchar_t* name;
    const wchar_t* value;
} kVersionStrings[] = {
    {L"CompanyName", L"Quillet"},
    {L"FileDescription", L"Random F15 keep-awake utility"},
    {L"FileVersion", QUILLET_PROJECT_VERSION},
    {L"InternalName", L"Quillet"},
    {L"OriginalFilename", L"Quillet.exe"},
    {L"ProductName", L"Quillet"},
    {L"ProductVersion", QUILLET_PROJECT_VERSION},
};

TEST_F(Resources, VersionStrings)
{
    std::vector<uint8_t> block = VersionInfo();
    ASSERT_FALSE(block.empty());
    for (const auto& row : kVersionStrings) {
        SCOPED_TRACE(row.name);
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + row.name;
        void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), &value, &length));
        const wchar_t* text = static_cast<const wchar_t*>(value);
        EXPECT_EQ(std::wstring(row.value), std::wstring(text));
        // The length counts characters with the terminating null.
        EXPECT_EQ(wcslen(row.value) + 1, length);
    }
}

TEST_F(Resources, VersionTranslationIsUsEnglishUnicode)
{
    std::vector<uint8_t> block = VersionInfo();
    ASSERT_FALSE(block.empty());
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(4u, length); // one language and code page pair
    const WORD* pair = static_cast<const WORD*>(value);
    EXPECT_EQ(0x0409, pair[0]);
    EXPECT_EQ(1200, pair[1]);
}

// One node of a version block: its key and the offsets of its children.
struct VersionNode {
    std::wstring key;
    std::vector<size_t> children;
};

// Reads the node at `at`; the value's size is in bytes for binary nodes and
// in characters for text nodes.
static VersionNode ReadVersionNode(const std::vector<uint8_t>& b, size_t at)
{
    VersionNode node;
    const size_t end = at + Le16(b, at);
    const uint16_t valueLength = Le16(b, at + 2);
    const bool text = Le16(b, at + 4) == 1;
    size_t p = at + 6;
    for (; Le16(b, p) != 0; p += 2) {
        node.key += static_cast<wchar_t>(Le16(b, p));
    }
    p = (p + 2 + 3) & ~size_t{3};
    p = (p + (text ? 2u * valueLength : valueLength) + 3) & ~size_t{3};
    while (p < end) {
        node.children.push_back(p);
        uint16_t length = Le16(b, p);
        if (length == 0) {
            break; // malformed: stop rather than loop
        }
        p = (p + length + 3) & ~size_t{3};
    }
    return node;
}

// The layout of the block, as "parent/child" key paths, nothing but these.
TEST_F(Resources, VersionBlockHoldsOneStringTableAndOneTranslation)
{
    std::vector<uint8_t> raw = ResourceBytes(module, RT_VERSION, 1);
    ASSERT_FALSE(raw.empty());
    ASSERT_EQ(raw.size(), Le16(raw, 0));

    std::vector<std::wstring> paths;
    VersionNode root = ReadVersionNode(raw, 0);
    EXPECT_EQ(L"VS_VERSION_INFO", root.key);
    EXPECT_EQ(sizeof(VS_FIXEDFILEINFO), Le16(raw, 2));
    for (size_t top : root.children) {
        VersionNode group = ReadVersionNode(raw, top);
        paths.push_back(group.key);
        for (size_t second : group.children) {
            VersionNode table = ReadVersionNode(raw, second);
            paths.push_back(group.key + L"/" + table.key);
            for (size_t third : table.children) {
                paths.push_back(group.key + L"/" + table.key + L"/" +
                                ReadVersionNode(raw, third).key);
            }
        }
    }

    std::vector<std::wstring> expected = {L"StringFileInfo", L"StringFileInfo/040904b0"};
    for (const auto& row : kVersionStrings) {
        expected.push_back(std::wstring(L"StringFileInfo/040904b0/") + row.name);
    }
    expected.push_back(L"VarFileInfo");
    expected.push_back(L"VarFileInfo/Translation");
    EXPECT_EQ(expected, paths);
}

// ---------------------------------------------------------------------------
// Icon group 101 and its images.

static const struct {
    int size;
    WORD id;
    bool png; // else a 32-bit bitmap
} kIconImages[] = {
    {16, 1, false}, {24, 2, false},  {32, 3, false}, {48, 4, false},
    {64, 5, false}, {128, 6, false}, {256, 7, true},
};

TEST_F(Resources, IconGroupDirectory)
{
    std::vector<uint8_t> group = ResourceBytes(module, RT_GROUP_ICON, IDI_QUILLET);
    const size_t count = sizeof kIconImages / sizeof kIconImages[0];
    ASSERT_EQ(6 + 14 * count, group.size()); // header, then one 14-byte entry per image
    EXPECT_EQ(0, Le16(group, 0));            // reserved
    EXPECT_EQ(1, Le16(group, 2));            // type: icon
    EXPECT_EQ(count, Le16(group, 4));
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(kIconImages[i].size);
        const size_t e = 6 + 14 * i;
        const int stored = kIconImages[i].size % 256; // 0 stands for 256
        EXPECT_EQ(stored, group[e]);                  // width
        EXPECT_EQ(stored, group[e + 1]);              // height
        EXPECT_EQ(0, group[e + 2]);                   // colour count: not a palette image
        EXPECT_EQ(0, group[e + 3]);                   // reserved
        EXPECT_EQ(1, Le16(group, e + 4));             // planes
        EXPECT_EQ(32, Le16(group, e + 6));            // bits per pixel
        EXPECT_EQ(kIconImages[i].id, Le16(group, e + 12));
        EXPECT_EQ(ResourceBytes(module, RT_ICON, kIconImages[i].id).size(), Le32(group, e + 8));
    }
}

// A 32-bit bitmap image: header with doubled height, BGRA pixels bottom-up,
// then a 1-bit AND mask set exactly where the pixel is fully transparent.
static void ExpectBitmapIcon(const std::vector<uint8_t>& image, int size)
{
    const size_t side = static_cast<size_t>(size);
    const size_t pixels = 4 * side * side;
    const size_t maskStride = (side + 31) / 32 * 4; // rows of whole 32-bit words
    ASSERT_EQ(40 + pixels + maskStride * side, image.size());
    EXPECT_EQ(40u, Le32(image, 0));                             // biSize: BITMAPINFOHEADER
    EXPECT_EQ(static_cast<uint32_t>(size), Le32(image, 4));     // biWidth
    EXPECT_EQ(static_cast<uint32_t>(2 * size), Le32(image, 8)); // biHeight: colour and mask
    EXPECT_EQ(1, Le16(image, 12));                              // biPlanes
    EXPECT_EQ(32, Le16(image, 14));                             // biBitCount
    EXPECT_EQ(static_cast<uint32_t>(BI_RGB), Le32(image, 16));  // biCompression

    int opaque = 0, transparent = 0, maskMismatches = 0;
    for (size_t row = 0; row < side; ++row) {
        for (size_t x = 0; x < side; ++x) {
            const uint8_t alpha = image[40 + 4 * (row * side + x) + 3];
            const bool maskBit = image[40 + pixels + row * maskStride + x / 8] & (0x80 >> x % 8);
            opaque += alpha == 255;
            transparent += alpha == 0;
            maskMismatches += maskBit != (alpha == 0);
        }
    }
    EXPECT_EQ(0, maskMismatches);
    // A picture with real alpha: a solid middle and see-through rounded corners.
    EXPECT_GT(opaque, size * size / 2);
    EXPECT_GT(transparent, 0);
}

// A PNG image: signature, then IHDR with the size, 8 bits per channel, RGBA.
static void ExpectPngIcon(const std::vector<uint8_t>& image, int size)
{
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GE(image.size(), 8u + 8u + 13u + 4u);
    EXPECT_EQ(0, memcmp(signature, image.data(), sizeof signature));
    EXPECT_EQ(13u, Be32(image, 8));
    EXPECT_EQ(0, memcmp("IHDR", image.data() + 12, 4));
    EXPECT_EQ(static_cast<uint32_t>(size), Be32(image, 16)); // width
    EXPECT_EQ(static_cast<uint32_t>(size), Be32(image, 20)); // height
    EXPECT_EQ(8, image[24]);                                 // bit depth
    EXPECT_EQ(6, image[25]);                                 // colour type: truecolour with alpha
}

TEST_F(Resources, IconImageFormats)
{
    for (const auto& row : kIconImages) {
        SCOPED_TRACE(row.size);
        std::vector<uint8_t> image = ResourceBytes(module, RT_ICON, row.id);
        ASSERT_FALSE(image.empty());
        if (row.png) {
            ExpectPngIcon(image, row.size);
            continue;
        }
        ExpectBitmapIcon(image, row.size);
    }
}

// The system picks the image of each size from the group.
TEST_F(Resources, SystemChoosesTheMatchingImage)
{
    std::vector<uint8_t> group = ResourceBytes(module, RT_GROUP_ICON, IDI_QUILLET);
    ASSERT_FALSE(group.empty());
    for (const auto& row : kIconImages) {
        SCOPED_TRACE(row.size);
        EXPECT_EQ(row.id, LookupIconIdFromDirectoryEx(group.data(), TRUE, row.size, row.size,
                                                      LR_DEFAULTCOLOR));
    }
}

// The build embeds res/quillet.ico as it stands: the group's entries are the
// file's directory entries and each image is the file's image, byte for byte.
TEST_F(Resources, IconImagesAreTheCommittedIconFile)
{
    std::vector<uint8_t> file = FileBytes(iconPath);
    std::vector<uint8_t> group = ResourceBytes(module, RT_GROUP_ICON, IDI_QUILLET);
    const size_t count = sizeof kIconImages / sizeof kIconImages[0];
    ASSERT_GE(file.size(), 6 + 16 * count) << "cannot read " << iconPath;
    ASSERT_EQ(6 + 14 * count, group.size());
    EXPECT_EQ(0, memcmp(file.data(), group.data(), 6)); // reserved, type, count
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(kIconImages[i].size);
        const size_t entry = 6 + 16 * i;
        // Width to byte count: the same 12 bytes in both directories.
        EXPECT_EQ(0, memcmp(file.data() + entry, group.data() + 6 + 14 * i, 12));
        const uint32_t length = Le32(file, entry + 8);
        const uint32_t offset = Le32(file, entry + 12);
        ASSERT_LE(size_t{offset} + length, file.size());
        std::vector<uint8_t> image(file.begin() + offset, file.begin() + offset + length);
        EXPECT_TRUE(image == ResourceBytes(module, RT_ICON, kIconImages[i].id))
            << "the built program carries another picture: rebuild it";
    }
}

// Square size of an icon's colour bitmap, 0 when it has none.
static int IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap = {};
    int size = 0;
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap)) {
        size = bitmap.bmWidth == bitmap.bmHeight ? bitmap.bmWidth : -1;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

TEST_F(Resources, LoadIconYieldsTheApplicationIcon)
{
    HICON icon = LoadIconW(module, MAKEINTRESOURCEW(IDI_QUILLET));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), IconSize(icon));
}

TEST_F(Resources, LoadImageDecodesEverySize)
{
    for (const auto& row : kIconImages) {
        SCOPED_TRACE(row.size);
        HICON icon = static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, row.size, row.size, 0));
        ASSERT_NE(nullptr, icon);
        EXPECT_EQ(row.size, IconSize(icon));
        DestroyIcon(icon);
    }
}

// ---------------------------------------------------------------------------
// Manifest.

struct XmlElement {
    std::string name; // without namespace prefix
    std::map<std::string, std::string> attributes;
};

// Splits a manifest into its elements in document order. Declarations and
// comments are skipped; `wellFormed` is false when tags do not nest.
static std::vector<XmlElement> ParseElements(const std::string& xml, bool* wellFormed)
{
    std::vector<XmlElement> elements;
    std::vector<std::string> open;
    *wellFormed = true;
    size_t p = 0;
    while ((p = xml.find('<', p)) != std::string::npos) {
        if (xml.compare(p, 4, "<!--") == 0 || xml.compare(p, 2, "<?") == 0) {
            const char* close = xml[p + 1] == '?' ? "?>" : "-->";
            size_t end = xml.find(close, p);
            *wellFormed = *wellFormed && end != std::string::npos;
            p = end == std::string::npos ? xml.size() : end + strlen(close);
            continue;
        }
        size_t end = xml.find('>', p);
        if (end == std::string::npos) {
            *wellFormed = false;
            break;
        }
        std::string tag = xml.substr(p + 1, end - p - 1);
        p = end + 1;
        if (!tag.empty() && tag[0] == '/') {
            std::string name = tag.substr(1, tag.find_first_of(" \t\r\n", 1) - 1);
            *wellFormed = *wellFormed && !open.empty() && open.back() == name;
            if (!open.empty()) {
                open.pop_back();
            }
            continue;
        }
        const bool selfClosing = !tag.empty() && tag.back() == '/';
        if (selfClosing) {
            tag.pop_back();
        }
        size_t q = tag.find_first_of(" \t\r\n");
        std::string qualified = tag.substr(0, q);
        XmlElement element;
        element.name = qualified.substr(qualified.find(':') + 1);
        while (q != std::string::npos &&
               (q = tag.find_first_not_of(" \t\r\n", q)) != std::string::npos) {
            size_t eq = tag.find('=', q);
            if (eq == std::string::npos || eq + 1 >= tag.size() ||
                (tag[eq + 1] != '"' && tag[eq + 1] != '\'')) {
                *wellFormed = false;
                break;
            }
            size_t valueEnd = tag.find(tag[eq + 1], eq + 2);
            if (valueEnd == std::string::npos) {
                *wellFormed = false;
                break;
            }
            element.attributes[tag.substr(q, eq - q)] = tag.substr(eq + 2, valueEnd - eq - 2);
            q = valueEnd + 1;
        }
        if (!selfClosing) {
            open.push_back(qualified);
        }
        elements.push_back(element);
    }
    *wellFormed = *wellFormed && open.empty();
    return elements;
}

static std::string ManifestText(HMODULE module)
{
    std::vector<uint8_t> raw = ResourceBytes(module, RT_MANIFEST, 1);
    std::string text(raw.begin(), raw.end());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3); // UTF-8 byte order mark
    }
    return text;
}

TEST_F(Resources, ManifestAsksOnlyForAsInvoker)
{
    std::string text = ManifestText(module);
    ASSERT_FALSE(text.empty());
    bool wellFormed = false;
    std::vector<XmlElement> elements = ParseElements(text, &wellFormed);
    EXPECT_TRUE(wellFormed);

    // These alone: no common-controls dependency, no DPI awareness (set in code).
    static const char* const expectedNames[] = {
        "assembly", "trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel",
    };
    std::vector<std::string> names;
    for (const XmlElement& element : elements) {
        names.push_back(element.name);
    }
    EXPECT_EQ(std::vector<std::string>(std::begin(expectedNames), std::end(expectedNames)), names);

    ASSERT_EQ(5u, elements.size());
    const std::map<std::string, std::string> level = {{"level", "asInvoker"},
                                                      {"uiAccess", "false"}};
    EXPECT_EQ(level, elements[4].attributes);
    EXPECT_EQ("1.0", elements[0].attributes["manifestVersion"]);
    EXPECT_EQ("urn:schemas-microsoft-com:asm.v1", elements[0].attributes["xmlns"]);
}

// ctest passes the built program and the icon file after GoogleTest's flags.
int main()
{
    if (!StartSuite("QUILLET.EXE QUILLET.ICO", {&exePath, &iconPath}))
        return 2;
    return RUN_ALL_TESTS();
}
