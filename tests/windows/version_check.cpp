// version_check FILE VERSION, run under Wine: reads FILE's version resource through Windows'
// own version API, as Properties, Details does (the strings in the language and code page
// that its translation entry names), prints what it read and checks it against VERSION.
// Exits non-zero when a check fails.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void expect(const std::string& name, const std::string& seen, const std::string& wanted) {
    std::printf("%s=%s\n", name.c_str(), seen.c_str());
    if (seen != wanted) {
        std::printf("FAILED: %s is \"%s\", not \"%s\"\n", name.c_str(), seen.c_str(),
                    wanted.c_str());
        ++failures;
    }
}

std::string dotted(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

std::string text(std::vector<char>& info, const std::string& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = block + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return "(missing)";
    }
    return std::string(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: version_check FILE VERSION\n");
        return 2;
    }
    const char* file = argv[1];
    const std::string version = argv[2];
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(file, 0, size, info.data())) {
        std::printf("FAILED: %s has no version resource\n", file);
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        std::printf("FAILED: no fixed file information\n");
        return 1;
    }
    expect("file version", dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), version + ".0");
    expect("product version", dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS),
           version + ".0");

    WORD* translation = nullptr;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD)) {
        std::printf("FAILED: no translation entry\n");
        return 1;
    }
    char block[64];
    std::snprintf(block, sizeof(block), "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
    expect("FileVersion", text(info, block, "FileVersion"), version);
    expect("ProductVersion", text(info, block, "ProductVersion"), version);
    expect("ProductName", text(info, block, "ProductName"), "TinStarWarden");
    const std::string description = text(info, block, "FileDescription");
    std::printf("FileDescription=%s\n", description.c_str());
    if (description == "(missing)") {
        std::printf("FAILED: no FileDescription\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
