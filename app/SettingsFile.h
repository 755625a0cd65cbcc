// Reading and writing qm.ini: the loader at start and the two savers at close.
#pragma once

#include "config/QMSettings.h"
#include "win/IniFile.h"

#include <functional>
#include <string>
#include <vector>

namespace pelmira {

// Reads every key into settings, in the file's order, and appends the
// [FAVORITES] entries to favorites as stored (never emptying it).
// pluginFolderDefault is asked only when its turn comes; its error ends the
// reading there. The paths are stored in the code page (see AnsiPathOf); a
// path that has no spelling there, nor a short alias, is not written, and
// the file keeps what it held.
void LoadSettings(const TIniFile& ini, QMSettings& settings, const std::wstring& winPath,
                  const std::function<std::wstring()>& pluginFolderDefault,
                  std::vector<std::string>& favorites);

// Appends the "AutoChgMax" entries of [FAVORITES] to favorites.
void LoadFavorites(const TIniFile& ini, std::vector<std::string>& favorites);

// [QM] and, when the list is not empty, [FAVORITES] with "AutoChgMax".
void SaveMainSettings(TIniFile& ini, const QMSettings& settings,
                      const std::vector<std::string>& changeList);

// [Picture] and "IconTray"; SusieLibPath loses its closing separator first.
void SavePictureSettings(TIniFile& ini, QMSettings& settings);

} // namespace pelmira
