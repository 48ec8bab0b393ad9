#pragma once
// The program's data folders and small file helpers.
// Folders are joined with "/"; the folder names are the program's own.

#include <string>
#include <string_view>

namespace engine {

inline constexpr const char* kProgramDataFolderName = "TidewynTides";
inline constexpr const char* kSettingsFileName = "TdwTidesv9.cfg";

// Folder creation is not reported: nothing may need the folder. A failure is kept, so that the
// first file that cannot be opened inside the folder can say why (FolderFault).
// Creates AppDataFolder/TidewynTides (and missing parents).
void MakeAppDataFolder();
// Creates DocumentsFolder/TidewynTides/UserDepths.
void MakeUserDepthsFolder();
// Creates DocumentsFolder/TidewynTides/TextOutput and sets TextOutputFolder to it, whether or
// not the folder could be made.
void MakeTextOutputFolder();

// For a file that cannot be opened: "the folder F could not be made: reason" when a folder on
// its path failed to be made and still is not there; empty otherwise.
std::string FolderFault(const std::string& filePath);

// The local application-data folder as the environment gives it, without a trailing "/".
std::string GetLocalAppDataPath();

// AppDataFolder/TidewynTides/TdwTidesv9.cfg
std::string BuildSettingsFilePath();

// The part of text before its first NUL character.
std::string TrimAtNull(const std::string& text);
// A stored text field as the windows show it: up to its first NUL, without the blanks around it.
std::string ShownText(const std::string& field);
// The same for a line of a text file or a copy: each control character (a byte below 32, or
// 127) made a blank first, so that a damaged name breaks no line or column.
std::string LineText(const std::string& field);

// True when the file can be opened for reading (a folder is not a file).
bool FileExists(const std::string& path);

// True when both paths name one existing file, by whatever names and links; false when either
// is missing.
bool SameFile(const std::string& a, const std::string& b);

// A name in a folder: joined with "/", unless the folder already ends in one.
std::string InFolder(const std::string& folder, const std::string& name);

// Whether two names are the same, the letters A to Z in any case.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The file of `folder` whose name is `name` in any case of its letters A to Z: `name` itself when
// there is such a file, else the first such name in byte order; "" when there is none.
std::string NameIgnoringCase(const std::string& folder, const std::string& name);

// The name of the file of `folder` that a base name and a lower-case extension (".ht") stand for:
// the base as spelt with the extension in any case ("Harbour.HT") first, then the whole name in
// any case; base + extension when there is neither.
std::string NameForBase(const std::string& folder, const std::string& base, const std::string& extension);

// A file named by the user, in the program folder, or what is wrong with the name.
inline constexpr const char* kSlashInName = "A name cannot contain a slash or a backslash";
struct NamedFile {
    std::string path;
    std::string fault;
};

}  // namespace engine
