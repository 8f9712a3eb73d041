# Shared by bench/decode-speed and bench/open-close-rate: test audio and the Wine run.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
wuzzle_select_running_arch

BENCH_DIR="$WUZZLE_BUILD/bench/plugins"
BENCH_EXE="$WUZZLE_ARCH_BUILD/bench/plugin_bench.exe"

wuzzle_build_benchmarks
mkdir -p "$BENCH_DIR"
wuzzle_ensure_prefix
wuzzle_start_wine_session

# bench_audio KIND SECONDS: prints the path of a stereo 44.1 kHz file of that kind
# (cbr-info, cbr-noinfo, vbr-xing, vbr-noxing, flac, vorbis, opus, wav, aac-m4a, alac,
# aac-raw, wma, wavpack), made once from the same music.
bench_audio() {
    local kind=$1 seconds=$2
    local wav="$BENCH_DIR/music-${seconds}s.wav" ext=mp3
    case $kind in flac) ext=flac ;; vorbis) ext=ogg ;; opus) ext=opus ;; wav) ext=wav ;; aac-m4a | alac) ext=m4a ;;
        aac-raw) ext=aac ;; wma) ext=wma ;; wavpack) ext=wv ;; esac
    local file="$BENCH_DIR/$kind-${seconds}s.$ext"
    if [ ! -f "$file" ]; then
        [ -f "$wav" ] || sox -n -r 44100 -b 16 "$wav" synth "$seconds" pluck C3 pluck G3 sine 220-880 \
            remix 1,2v0.5 2,3v0.5 tremolo 2 30 norm -1
        case $kind in
            cbr-info) lame --quiet -b 128 "$wav" "$file" ;;
            cbr-noinfo) lame --quiet -b 128 -t "$wav" "$file" ;;
            vbr-xing) lame --quiet -V 2 "$wav" "$file" ;;
            vbr-noxing) lame --quiet -V 2 -t "$wav" "$file" ;;
            flac) flac -s -T TITLE=Bench "$wav" -o "$file" ;;
            vorbis) oggenc -Q -t Bench "$wav" -o "$file" ;;
            opus) opusenc --quiet --title Bench "$wav" "$file" ;;
            wav) cp "$wav" "$file" ;;
            aac-m4a) ffmpeg -v error -i "$wav" -c:a aac -b:a 128k -metadata title=Bench "$file" ;;
            alac) ffmpeg -v error -i "$wav" -c:a alac -metadata title=Bench "$file" ;;
            aac-raw) ffmpeg -v error -i "$wav" -c:a aac -b:a 128k -f adts "$file" ;;
            wma) ffmpeg -v error -i "$wav" -c:a wmav2 -b:a 128k -metadata title=Bench "$file" ;;
            wavpack) wavpack -q -w Title=Bench "$wav" -o "$file" ;;
        esac
    fi
    echo "$file"
}

# bench_run ARGS...: plugin_bench under Wine, run from the build folder so that the
# paths it is given can be relative ones.
bench_run() {
    (cd "$WUZZLE_BUILD" && "$WUZZLE_WINE" "$BENCH_EXE" "$@")
}

# The path of a file under the build folder as bench_run sees it.
bench_path() {
    realpath --relative-to="$WUZZLE_BUILD" "$1" | tr / '\\'
}
