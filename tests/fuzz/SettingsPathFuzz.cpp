// The settings path for any module path: the same folder, the name's
// extension (and only that) replaced by ".INI", and a second application
// changes nothing.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/SettingsPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string module = FuzzCString(data, size);
    std::string settings = SettingsPathFor(module);

    FUZZ_CHECK(FuzzEndsWith(settings, ".INI"));
    std::string stem = settings.substr(0, settings.size() - 4);
    FUZZ_CHECK(FuzzStartsWith(module, stem));

    size_t lastSlash = module.find_last_of('\\');
    size_t nameStart = lastSlash == std::string::npos ? 0 : lastSlash + 1;
    FUZZ_CHECK(stem.size() >= nameStart);
    std::string cut = module.substr(stem.size());
    bool nameHasDot = module.find('.', nameStart) != std::string::npos;
    if (nameHasDot)
        FUZZ_CHECK(!cut.empty() && cut[0] == '.' && cut.find_first_of(".\\", 1) == std::string::npos);
    else
        FUZZ_CHECK(cut.empty());

    FUZZ_CHECK(SettingsPathFor(settings) == settings);
    return 0;
}
