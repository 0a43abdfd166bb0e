#include "Utf8Main.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>
#endif

namespace cli {

#ifdef _WIN32

namespace {

std::string Utf8Of(const wchar_t* wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? static_cast<std::size_t>(bytes) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.resize(text.size() - 1); // the terminating zero
    return text;
}

} // namespace

int Utf8Main(int argc, char** argv, const MainOptions& options) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return Main(argc, argv, options);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Utf8Of(wide[i]));
    }
    LocalFree(wide);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return Main(count, pointers.data(), options);
}

#else

int Utf8Main(int argc, char** argv, const MainOptions& options) {
    return Main(argc, argv, options);
}

#endif

} // namespace cli
