# Test pictures for the program's plug-in, made with ImageMagick at build
# time: eight by six pixels, the left half red, the right half blue (or
# transparent), in every format the plug-in is tried on, and damaged copies.
find_program(PELMIRA_CONVERT convert REQUIRED)
set(pictures ${CMAKE_BINARY_DIR}/bin/pictures)
set(base -size 8x6 xc:red -fill blue -draw "rectangle 4,0 7,5")
set(outputs)
function(pelmira_picture name)
    add_custom_command(OUTPUT ${pictures}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
        COMMAND ${PELMIRA_CONVERT} ${ARGN}
        VERBATIM)
    set(outputs ${outputs} ${pictures}/${name} PARENT_SCOPE)
endfunction()
pelmira_picture(rgb24.png ${base} -define png:color-type=2 PNG24:${pictures}/rgb24.png)
pelmira_picture(palette.png ${base} PNG8:${pictures}/palette.png)
pelmira_picture(deep.png ${base} -depth 16 PNG48:${pictures}/deep.png)
pelmira_picture(alpha.png -size 8x6 xc:red ( -size 4x6 xc:none ) -geometry +4+0 -compose Copy
                -composite PNG32:${pictures}/alpha.png)
pelmira_picture(baseline.jpg ${base} -quality 95 ${pictures}/baseline.jpg)
pelmira_picture(progressive.jpg ${base} -quality 95 -interlace Plane ${pictures}/progressive.jpg)
pelmira_picture(grey.jpg ${base} -colorspace Gray -quality 95 ${pictures}/grey.jpg)
pelmira_picture(picture.gif ${base} ${pictures}/picture.gif)
pelmira_picture(picture.tif ${base} -compress lzw ${pictures}/picture.tif)
# Larger than the 2 KB a plug-in is shown to decide whether it reads a file.
pelmira_picture(large.png -seed 7 -size 320x200 plasma:fractal ${pictures}/large.png)
pelmira_picture(large.jpg -seed 7 -size 320x200 plasma:fractal ${pictures}/large.jpg)
foreach(format png jpg gif tif)
    set(whole ${pictures}/whole-${format}.${format})
    add_custom_command(OUTPUT ${pictures}/cut.${format}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
        COMMAND ${PELMIRA_CONVERT} -size 64x48 gradient:red-blue ${whole}
        COMMAND dd if=${whole} of=${pictures}/cut.${format} bs=60 count=1 status=none
        COMMAND ${CMAKE_COMMAND} -E remove ${whole}
        VERBATIM)
    list(APPEND outputs ${pictures}/cut.${format})
endforeach()
# Bit-field pictures of the bitmap suite, and its V4 and V5 pictures.
foreach(name good/rgb16-565 questionable/rgb16-231 good/rgb32bf questionable/rgb32-111110
             good/pal8v4 good/pal8v5 questionable/rgb24prof questionable/rgb24lprof
             questionable/rgb32-xbgr questionable/rgba32-1 questionable/rgba16-4444
             questionable/rgb24jpeg)
    get_filename_component(stem ${name} NAME)
    set(source ${PROJECT_SOURCE_DIR}/tests/data/bmp/${name}.bmp)
    add_custom_command(OUTPUT ${pictures}/${stem}.bmp
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${pictures}/${stem}.bmp
        DEPENDS ${source}
        VERBATIM)
    list(APPEND outputs ${pictures}/${stem}.bmp)
endforeach()
file(WRITE ${pictures}/noise.png "PNG, but nothing a decoder can use")
# Photographs with each Exif orientation: one 32x16 picture of four
# coloured quarters (left top red, right top green, left bottom blue, right
# bottom white; blocks of 16x8 so that JPEG keeps them clean), with an Exif
# segment of our own put in front, and ImageMagick's upright reading of
# each beside it. Two more whose Exif block is damaged: cut short, and
# pointing outside itself.
set(quarters -size 32x16 xc:red -fill lime -draw "rectangle 16,0 31,7" -fill blue
             -draw "rectangle 0,8 15,15" -fill white -draw "rectangle 16,8 31,15")
set(stored ${CMAKE_BINARY_DIR}/oriented-stored.jpg)
add_custom_command(OUTPUT ${stored}
    COMMAND ${PELMIRA_CONVERT} ${quarters} -quality 95 -sampling-factor 1x1 ${stored}
    VERBATIM)
# SOI, then APP1 "Exif": a little-endian TIFF block whose one directory
# entry is the orientation (printf's octal escapes), then the stored JPEG
# after its own SOI. `head` is everything up to the directory.
set(exif_head "\\377\\330\\377\\341\\000\\042Exif\\000\\000\\111\\111\\052\\000\\010\\000\\000\\000")
function(pelmira_exif_jpeg name head entries)
    add_custom_command(OUTPUT ${pictures}/${name}.jpg
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
        COMMAND sh -c "printf '${head}${entries}' > ${pictures}/${name}.jpg && tail -c +3 ${stored} >> ${pictures}/${name}.jpg"
        DEPENDS ${stored}
        VERBATIM)
    set(outputs ${outputs} ${pictures}/${name}.jpg PARENT_SCOPE)
endfunction()
set(one_entry "\\001\\000\\022\\001\\003\\000\\001\\000\\000\\000")
set(entry_end "\\000\\000\\000\\000\\000\\000\\000")
foreach(octal 1 2 3 4 5 6 7 10)
    math(EXPR orientation "${octal} / 10 * 8 + ${octal} % 10") # octal 10 is 8
    if(octal LESS 10)
        set(octal "0${octal}")
    endif()
    pelmira_exif_jpeg(oriented-${orientation} "${exif_head}" "${one_entry}\\0${octal}${entry_end}")
    add_custom_command(OUTPUT ${pictures}/upright-${orientation}.bmp
        COMMAND ${PELMIRA_CONVERT} ${pictures}/oriented-${orientation}.jpg -auto-orient
                -type TrueColor BMP3:${pictures}/upright-${orientation}.bmp
        DEPENDS ${pictures}/oriented-${orientation}.jpg
        VERBATIM)
    list(APPEND outputs ${pictures}/upright-${orientation}.bmp)
endforeach()
# The Exif block cut short inside its one entry (the segment ends there),
# and one whose directory lies far past the block.
pelmira_exif_jpeg(exif-cut
    "\\377\\330\\377\\341\\000\\030Exif\\000\\000\\111\\111\\052\\000\\010\\000\\000\\000"
    "\\001\\000\\022\\001\\003\\000\\001\\000")
pelmira_exif_jpeg(exif-outside
    "\\377\\330\\377\\341\\000\\042Exif\\000\\000\\111\\111\\052\\000\\000\\000\\000\\360"
    "${one_entry}\\006${entry_end}")
add_custom_target(test_pictures DEPENDS ${outputs})

# A photograph of 96 megapixels for the program's memory: red at the top,
# blue at the bottom.
add_custom_command(OUTPUT ${pictures}/huge.jpg
    COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
    COMMAND ${PELMIRA_CONVERT} -size 12000x8000 gradient:red-blue -quality 90 ${pictures}/huge.jpg
    VERBATIM)
add_custom_target(huge_picture DEPENDS ${pictures}/huge.jpg)
