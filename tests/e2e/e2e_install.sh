# Installing: into a scratch DESTDIR and as the Debian package, each then started from / with
# nothing of the build around it. Usage: e2e_install.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
for tool in desktop-file-validate appstreamcli man dpkg-deb lintian; do
    command -v $tool >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
S=$WORK SRC=$(cd "$(dirname "$0")/../.." && pwd) BUILD=$(dirname "$RUN")
VERSION=$("$GAME" --version | awk '{ print $2 }')
PICTURES=$(cd "$RUN" && ls Data/*.bmp)

# The files below a prefix, as "bin/glowfront" or "share/glowfront/Data/Title.bmp", sorted.
expected() { # BIN DATA MAN [DOC...]
    local bin=$1 data=$2 man=$3; shift 3
    printf '%s\n' "$bin/glowfront" $(printf "$data/%s\n" $PICTURES MaxUnits.cfg glowfront.cfg) \
        share/applications/glowfront.desktop share/man/man6/$man \
        share/metainfo/example.c_seed_742cc45a.glowfront.metainfo.xml \
        share/icons/hicolor/{32x32,64x64,128x128,256x256}/apps/glowfront.png "$@" | sort
}
# quiet COMMAND...: its output only when it fails.
quiet() { "$@" >$S/said 2>&1 || { cat $S/said; return 1; }; }
# play_from_root EXECUTABLE WHAT: the title from /, and Exit.
play_from_root() {
    GAME=$1; XDG_CONFIG_HOME=$S/config start_game /; find_window
    check "$2: the title comes up" wait_title $S/title.png
    choose_exit; wait_exit 5
    check "$2: Exit ends it with status 0 (got $STATUS)" [ "$STATUS" = 0 ]
}

DEST=$S/dest P=$S/dest/usr/local
DESTDIR=$DEST cmake --install "$BUILD" --prefix /usr/local >$S/install.log
check "cmake --install puts every file in place" \
    diff <(cd $P && find . -type f | sed 's,^\./,,' | sort) <(expected bin share/glowfront glowfront.6)
check "the desktop entry is valid" quiet desktop-file-validate $P/share/applications/glowfront.desktop
check "the AppStream data is valid" quiet appstreamcli validate --no-net $P/share/metainfo/*.xml
check "the manual reads without a warning" \
    [ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l $P/share/man/man6/glowfront.6 2>&1 >/dev/null)" ]
for option in $("$GAME" --help | grep -o -- '--[a-z]*' | sort -u); do
    grep -q -- "${option//-/\\\\-}" $P/share/man/man6/glowfront.6 || echo "not in the manual: $option"
done >$S/undocumented
check "the manual has every option of the usage" [ ! -s $S/undocumented ] || cat $S/undocumented
check "--help: the usage on stdout, status 0" \
    bash -c "'$P/bin/glowfront' --help 2>&1 >/dev/null | grep -q . && exit 1; '$P/bin/glowfront' --help | grep -q '^Usage: glowfront'"
"$P/bin/glowfront" --bogus >$S/out 2>$S/err; status=$?
check "an unknown option: the usage on stderr, status 2 (got $status)" \
    bash -c "[ $status = 2 ] && [ ! -s $S/out ] && grep -q '^Usage: glowfront' $S/err"
for size in 32 64 128 256; do
    icon=$P/share/icons/hicolor/${size}x$size/apps/glowfront.png
    check "the $size-pixel icon: clear corners, an opaque middle" [ "$(convert $icon -alpha extract \
        -format "%w %h %[fx:p{0,0}] %[fx:p{$((size / 2)),$((size / 2))}]" info:)" = "$size $size 0 1" ]
done

# Each settings file is read from the player's folder when it is there, else the installed one.
mkdir -p $S/config/glowfront && printf '[Display]\nScale = 9\n' >$S/config/glowfront/glowfront.cfg
printf '[Display]\nScale = 8\n' >$P/share/glowfront/glowfront.cfg
printf '[Limits]\nMaxUnits = lots\n' >$P/share/glowfront/MaxUnits.cfg
play_from_root $P/bin/glowfront "installed"
check "its settings come from the player's folder, then the installed one" bash -c "
    grep -q '^$S/config/glowfront/glowfront.cfg: \[Display\] Scale = \"9\"' $S/game.out &&
    grep -q '^$P/share/glowfront/MaxUnits.cfg: MaxUnits = \"lots\"' $S/game.out" || cat $S/game.out

# The package's build folder is shared by every run of this build's tests: one at a time makes
# the package there, and takes a copy of its own.
exec {lock}>"$BUILD/deb.lock"
flock $lock
DEB=$("$SRC/package" "$BUILD/deb" 2>$S/package.log | tail -1) || cat $S/package.log
[ -f "$DEB" ] && cp "$DEB" $S/ && DEB=$S/$(basename "$DEB")
flock -u $lock
check "./package builds glowfront_${VERSION}_amd64.deb" [ "$(basename "$DEB")" = "glowfront_${VERSION}_amd64.deb" ]
check "the package holds a Debian game's files" diff \
    <(dpkg-deb -c "$DEB" | awk '/^-/ { sub("^./usr/", "", $6); print $6 }' | sort) \
    <(expected games share/games/glowfront glowfront.6.gz share/doc/glowfront/{changelog.gz,copyright})
depends_on() { [[ ", $(dpkg-deb -f "$DEB" Depends)" == *", $1 (>= "* ]]; }
for lib in liballegro4.4 libc6 libstdc++6; do check "it depends on $lib, from a version on" depends_on $lib; done
# ENet's and Xlib's libraries name no version to depend from.
for lib in libenet7 libx11-6; do
    check "it depends on $lib" grep -Eq "(^|, )$lib( |,|$)" <<<"$(dpkg-deb -f "$DEB" Depends)"
done
check "lintian finds no error in it" quiet lintian --fail-on error "$DEB"
dpkg-deb -x "$DEB" $S/root
play_from_root $S/root/usr/games/glowfront "packaged"
finish
