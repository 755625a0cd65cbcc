// Files, folders and registry values the Wine tests set up and read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

std::string WindowsDirectory();
// qm.ini in the Windows folder, where Pelmira32 keeps its settings.
std::string SettingsFilePath();
// Pelmira.BMP where this prefix's Windows keeps it: the Windows folder
// before Vista, <Local AppData>\Pelmira32 after.
std::string ConvertedWallpaperPath();
// The folder of the test program (and of Pelmira32.exe), with its "\".
std::string ProgramFolder();
// A fresh empty folder under the temporary folder.
std::string MakeTempFolder(const char* name);
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
std::string ReadTextFile(const std::wstring& path);
// A test's code page text as the program's wide paths spell it.
std::wstring Wide(const std::string& text);
bool FileExists(const std::string& path);
// The plug-in hosts (PelmiraSpiHost.exe) that the process started and that run.
std::vector<DWORD> PluginHostsOf(DWORD parent);
// A small uncompressed bitmap file of the given bit count (1, 4, 8, 24 or 32).
void WriteBitmapFile(const std::string& path, int bits, int width = 4, int height = 3);

// HKCU\Control Panel\desktop values; a missing value reads as empty.
std::string DesktopValue(const char* name);
// A desktop value that names a file, read in Unicode.
std::wstring DesktopPath(const char* name);
void SetDesktopPath(const char* name, const std::wstring& path);
void SetDesktopValue(const char* name, const std::string& value);
void DeleteDesktopValue(const char* name);
