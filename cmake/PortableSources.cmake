# Code without any Windows header: built natively for the unit tests and into
# the Windows programs alike.
set(PELMIRA_PORTABLE_SOURCES
    base/AnsiText.cpp
    base/DirSep.cpp
    base/ProfileValue.cpp
    imaging/ExtensionTest.cpp
    wallpaper/DisplayStyle.cpp
    wallpaper/AutoChangeRules.cpp
    imaging/DibHeader.cpp
    imaging/ExifOrientation.cpp
    imaging/BitmapFile.cpp
    imaging/RunLength.cpp
    imaging/DibPalette.cpp
    imaging/FullColourPixels.cpp
    imaging/Octree.cpp
    imaging/NearestColour.cpp
    imaging/PreviewLayout.cpp
    imaging/PluginRules.cpp
    imaging/PluginHostMessages.cpp
    imaging/PictureScaling.cpp
    wallpaper/MonitorLayout.cpp
    base/GlyphScale.cpp
    base/CommandLine.cpp
    config/ListFile.cpp
    shell/MsgDlgRules.cpp
    shell/TrayIconRules.cpp
)
get_filename_component(pelmira_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
list(TRANSFORM PELMIRA_PORTABLE_SOURCES PREPEND ${pelmira_root}/)
