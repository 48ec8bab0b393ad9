#pragma once
// The program's data folders and small file helpers.
// Folders are joined with "/"; the folder names are the program's own.

#include <string>

namespace engine {

inline constexpr const char* kProgramDataFolderName = "TidewynTides";
inline constexpr const char* kSettingsFileName = "TdwTidesv9.cfg";

// Creates AppDataFolder/TidewynTides (and missing parents); errors are ignored.
void MakeAppDataFolder();
// Creates DocumentsFolder/TidewynTides/UserDepths; errors are ignored.
void MakeUserDepthsFolder();
// Creates DocumentsFolder/TidewynTides/TextOutput and sets TextOutputFolder to it, whether or
// not the folder could be made.
void MakeTextOutputFolder();

// The local application-data folder as the environment gives it, without a trailing "/".
std::string GetLocalAppDataPath();

// AppDataFolder/TidewynTides/TdwTidesv9.cfg
std::string BuildSettingsFilePath();

// The part of text before its first NUL character.
std::string TrimAtNull(const std::string& text);

// True when the file can be opened for reading (a folder is not a file).
bool FileExists(const std::string& path);

}  // namespace engine
