#include "env/skin.h"

#include "skin_data.h"

std::string skinFilePath;

void skinWindow(Form& form, int skinNumber) {
    // Any entry of that name, even a directory or a damaged file, is left alone.
    if (!form.fileExists(engineLibraryPath)) form.writeFile(engineLibraryPath, skinData::engineImage());
    applySkin(form, skinNumber);
}

void applySkin(Form& form, int skinNumber) {
    skinFilePath = skinFileName;
    if (skinNumber == 0) skinNumber = 60;
    if (skinNumber < 1 || skinNumber > 60) return;

    // A failed write still goes on to the engine, which finds what it finds.
    form.writeFile(skinFilePath, skinData::skin(skinNumber));
    // The skin is cosmetic: an engine that cannot be loaded leaves the window
    // unskinned instead of ending the program.
    static constexpr char noText[] = "";
    form.tryCallLibrary(engineLibraryName, "SkinH_AttachEx",
                        {reinterpret_cast<Word>(skinFilePath.c_str()), reinterpret_cast<Word>(noText)});
}
