# What the game's packages ship beside its programs, named once for all of them: the files of
# the Data folder (made by the data build), and the free faces of the Windows ones' metrics
# (Debian's fonts-liberation2 and fonts-comic-neue) under the names src/platform/FontFiles.cpp
# looks for, where a system lacks them (Windows without a face, the browser).
set(KELVORA_DATA_FILES Game.dat Grafika.dat Hudba.dat Hudba.ini)
set(KELVORA_FONT_FILES
    truetype/liberation2/LiberationSans-Regular.ttf truetype/liberation2/LiberationSans-Bold.ttf
    truetype/liberation2/LiberationSerif-Regular.ttf truetype/liberation2/LiberationSerif-Bold.ttf
    opentype/comic-neue/ComicNeue-Regular.otf opentype/comic-neue/ComicNeue-Bold.otf)
list(TRANSFORM KELVORA_FONT_FILES PREPEND /usr/share/fonts/)
