#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make_sounds.sh - synthesise the game's music and sound effects.
#
# Builds the fourteen MP3s in data/Sounds/ (menu theme, question stings,
# answer stings, lifeline sounds) from nothing but oscillators and noise:
# chords of detuned sawtooths, pulse basses, brass-like voices, bells,
# drums made from noise bursts and swept sines, then filters, envelopes
# and reverb.  Everything is made here; no recorded audio is used.
#
# The MP3s are committed, so players and builds need neither sox nor lame.
# Run this only to change the sounds (Debian: apt-get install sox lame
# libsox-fmt-mp3):
#
#     tools/make_sounds.sh
#
# sox runs with -R, so noise and dither use fixed seeds and a rerun gives
# the same audio.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$ROOT/data/Sounds"
RATE=44100
LVL=-20                      # every voice/layer is peak-normalised to this

for tool in sox lame; do
    command -v "$tool" >/dev/null || { echo "make_sounds: $tool not found" >&2; exit 1; }
done

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
trap 'echo "make_sounds: failed at line $LINENO" >&2' ERR
mkdir -p "$OUT"

# --------------------------------------------------------------------------
# Small helpers
# --------------------------------------------------------------------------

# Intermediate files are 32-bit float WAV.
F32=(-e floating-point -b 32)

# calc EXPR: floating-point arithmetic, e.g. calc "3*0.5+0.25"
calc() { awk "BEGIN { printf \"%.5f\", $* }"; }

# hz NOTE: equal-tempered frequency of a note name (A4 = 440), e.g. hz Bb2
hz() {
    awk -v n="$1" 'BEGIN {
        name = n; sub(/-?[0-9]+$/, "", name); oct = substr(n, length(name) + 1)
        split("C C# D D# E F F# G G# A A# B", N, " ")
        flat["Db"] = "C#"; flat["Eb"] = "D#"; flat["Gb"] = "F#"; flat["Ab"] = "G#"; flat["Bb"] = "A#"
        if (name in flat) name = flat[name]
        s = ""
        for (i = 1; i <= 12; i++) if (N[i] == name) s = i - 10
        if (s == "") { print "bad note " n > "/dev/stderr"; exit 1 }
        printf "%.4f", 440 * 2 ^ ((s + (oct - 4) * 12) / 12)
    }'
}

# new VAR...: give each named variable a fresh scratch file name
SEQ=0
new() {
    local var
    for var in "$@"; do SEQ=$((SEQ + 1)); printf -v "$var" '%s' "$WORK/s$SEQ.wav"; done
}

# gen OUT EFFECT...: synthesise from silence (44.1 kHz stereo)
gen() { local out=$1; shift; sox -R -r "$RATE" -c 2 -n "${F32[@]}" "$out" "$@"; }

# fx IN OUT EFFECT...: process a file
fx() { local in=$1 out=$2; shift 2; sox -R "$in" "${F32[@]}" "$out" "$@"; }

# mix OUT FILE@OFFSET@VOLUME...: sum the files, each delayed by OFFSET seconds
# and scaled by VOLUME (both optional).  The result is peak-normalised to LVL.
mix() {
    local out=$1 layer f off vol args=(); shift
    for layer in "$@"; do
        IFS=@ read -r f off vol <<<"$layer"
        # a quarter of the volume keeps dozens of -20 dB layers clear of clipping
        args+=(-v "$(calc "${vol:-1}*0.25")" "|sox -R '$f' -p pad ${off:-0}")
    done
    if (( $# == 1 )); then
        sox -R "${args[@]}" "${F32[@]}" "$out" gain -n "$LVL"
    else
        sox -R -m "${args[@]}" "${F32[@]}" "$out" gain -n "$LVL"
    fi
}

# catf OUT FILE...: join the files one after another
catf() { local out=$1; shift; sox -R "$@" "${F32[@]}" "$out"; }

# master NAME IN PEAK_DB: final fade-out, peak-normalise, encode to MP3
master() {
    local name=$1 in=$2 peak=$3 wav="$WORK/$1.final.wav"
    sox -R "$in" -b 16 "$wav" highpass 20 fade q 0.003 -0 0.02 gain -n "$peak"
    lame --quiet --noreplaygain -V 5 "$wav" "$OUT/$name.mp3"
    echo "  $name.mp3"
}

# --------------------------------------------------------------------------
# Voices: OUT NOTE DUR [options].  Each writes a stereo file at LVL peak.
# --------------------------------------------------------------------------

# strings OUT NOTE DUR [ATTACK] [RELEASE] [CUTOFF]
# Warm pad: four slightly detuned sawtooths, two per side, softly filtered.
strings() {
    local f; f=$(hz "$2")
    gen "$1" synth "$3" sawtooth "$(calc "$f*0.995")" sawtooth "$(calc "$f*1.005")" \
             synth "$3" sawtooth mix "$(calc "$f*1.002")" sawtooth mix "$(calc "$f*0.998")" \
             gain -10 lowpass "${6:-1500}" lowpass "$(calc "${6:-1500}*1.6")" \
             fade q "${4:-0.3}" "$3" "${5:-0.5}" gain -n "$LVL"
}

# brass OUT NOTE DUR [ATTACK] [RELEASE] [BRIGHTNESS]
# Fanfare voice: a mellow sustained body (saws + narrow pulse, low cut-off)
# with a bright, quickly decaying copy on top for the brassy "blat".
brass() {
    local f bright=${6:-4500} a b c; f=$(hz "$2")
    new a b c
    local osc=(synth "$3" sawtooth "$(calc "$f*0.997")" sawtooth "$(calc "$f*1.003")"
               synth "$3" square mix "$(calc "$f*1.001")" 0 0 22 square mix "$(calc "$f*0.999")" 0 0 22)
    gen "$a" "${osc[@]}" gain -10 lowpass 1300 lowpass 2000 gain -n "$LVL"
    gen "$b" "${osc[@]}" synth "$3" exp amod "$(calc "1/$3")" 0 0 0 "$(calc "9*$3+6")" \
             gain -10 lowpass "$bright" gain -n "$LVL"
    mix "$c" "$a@0@1" "$b@0@0.7"
    fx "$c" "$1" fade q "${4:-0.03}" "$3" "${5:-0.2}" gain -n "$LVL"
}

# bass OUT NOTE DUR
# Pulse bass: detuned saws plus a sine fundamental, low-passed, plucked envelope.
bass() {
    local f; f=$(hz "$2")
    gen "$1" synth "$3" sawtooth "$(calc "$f*0.998")" sawtooth "$(calc "$f*1.002")" \
             synth "$3" sine mix "$f" sine mix "$f" \
             gain -10 lowpass 650 lowpass 900 \
             synth "$3" exp amod "$(calc "1/$3")" 0 0 0 9 \
             fade q 0.004 "$3" 0.03 gain -n "$LVL"
}

# partial OUT FREQ DUR DECAY_DB: one sine partial with an exponential decay
partial() {
    gen "$1" synth "$3" sine "$2" sine "$(calc "$2*1.0007")" \
             synth "$3" exp amod "$(calc "1/$3")" 0 0 0 "$(calc "$4/2")" \
             fade q 0.002 "$3" 0.01
}

# bell OUT NOTE DUR: struck bell / glockenspiel, harmonic and inharmonic partials.
# Partials are softened above 2.5 kHz and left out above 8 kHz, so high bells
# stay sweet rather than shrill.
bell() {
    local f p ratio decay vol v specs=(); f=$(hz "$2")
    for p in 1:45:1 2:60:0.5 3.01:75:0.3 4.16:90:0.18 5.43:100:0.1; do
        IFS=: read -r ratio decay vol <<<"$p"
        vol=$(awk -v f="$f" -v r="$ratio" -v v="$vol" 'BEGIN {
            fr = f * r; if (fr >= 8000) exit 1
            printf "%.4f", (fr > 2500) ? v * (2500 / fr) ^ 1.5 : v }') || continue
        new v; partial "$v" "$(calc "$f*$ratio")" "$3" "$decay"; specs+=("$v@0@$vol")
    done
    mix "$1" "${specs[@]}"
}

# pluck OUT NOTE DUR: bright plucked string (sox's Karplus-Strong voice, doubled)
pluck() {
    local f; f=$(hz "$2")
    gen "$1" synth "$3" pluck "$(calc "$f*0.999")" pluck "$(calc "$f*1.001")" \
             synth "$3" pluck mix "$(calc "$f*2.001")" pluck mix "$(calc "$f*1.999")" \
             gain -10 highpass 120 fade q 0.002 "$3" 0.05 gain -n "$LVL"
}

# chord VOICE OUT DUR NOTE... [-- VOICE-OPTIONS...]: the same voice on several notes
chord() {
    local voice=$1 out=$2 dur=$3 notes=() opts=() n v specs=(); shift 3
    while (( $# )) && [[ $1 != -- ]]; do notes+=("$1"); shift; done
    (( $# )) && { shift; opts=("$@"); }
    for n in "${notes[@]}"; do
        new v; "$voice" "$v" "$n" "$dur" "${opts[@]}"; specs+=("$v")
    done
    mix "$out" "${specs[@]}"
}

# --------------------------------------------------------------------------
# Percussion and effects
# --------------------------------------------------------------------------

# kick OUT [FROM_HZ] [TO_HZ] [DUR]: bass drum, a sine swept down plus a click
kick() {
    local d=${4:-0.5} body click
    new body click
    gen "$body" synth "$d" sine "${2:-140}/${3:-42}" \
             synth "$d" exp amod "$(calc "1/$d")" 0 0 0 22 fade q 0.002 "$d" 0.02
    gen "$click" synth 0.012 whitenoise gain -10 highpass 1500 fade q 0.001 0.012 0.011
    mix "$1" "$body@0@1" "$click@0@0.25"
}

# thud OUT: dull, heavy low hit (muffled kick with a rumble)
thud() {
    local k r
    new k; kick "$k" 90 30 0.9
    new r
    gen "$r" synth 0.9 brownnoise synth 0.9 exp amod 1.1111 0 0 0 18 gain -10 highpass 35 lowpass 180 lowpass 250
    mix "$1" "$k@0@1" "$r@0@0.6"
}

# snare OUT: noise crack over a short tone
snare() {
    local n t
    new n t
    gen "$n" synth 0.25 whitenoise synth 0.25 exp amod 4 0 0 0 24 gain -10 highpass 900 lowpass 9000
    gen "$t" synth 0.12 triangle 190/150 synth 0.12 exp amod 8.3333 0 0 0 20
    mix "$1" "$n@0@1" "$t@0@0.5"
}

# hat OUT [DUR]: closed hi-hat / ticking, short high-passed noise
hat() {
    local d=${2:-0.06}
    gen "$1" synth "$d" whitenoise synth "$d" exp amod "$(calc "1/$d")" 0 0 0 20 \
             gain -10 highpass 7000 highpass 5000 fade q 0.001 "$d" 0.005 gain -n "$LVL"
}

# tick OUT: a clock tick, tiny woody click
tick() {
    local a b
    new a b
    gen "$a" synth 0.03 sine 2600 synth 0.03 exp amod 33.333 0 0 0 20
    gen "$b" synth 0.03 whitenoise synth 0.03 exp amod 33.333 0 0 0 25 gain -10 bandpass 4000 2000h
    mix "$1" "$a@0@0.6" "$b@0@1"
}

# cymbal OUT DUR: crash, high-passed noise with a long decay
cymbal() {
    gen "$1" synth "$2" whitenoise synth "$2" exp amod "$(calc "1/$2")" 0 0 0 22 \
             gain -10 highpass 4000 highpass 3000 equalizer 9000 1q 4 fade q 0.002 "$2" 0.1 gain -n "$LVL"
}

# swell OUT DUR: reversed cymbal, the classic build-up whoosh
swell() {
    gen "$1" synth "$2" whitenoise synth "$2" exp amod "$(calc "1/$2")" 0 0 0 16 \
             gain -10 highpass 2500 highpass 2000 reverse fade q 0 "$2" 0.03 gain -n "$LVL"
}

# timp OUT NOTE DUR: timpani stroke, drum partials that sag slightly in pitch
timp() {
    local f a b c; f=$(hz "$2")
    new a b c
    gen "$a" synth "$3" sine "$(calc "$f*1.03")/$f" synth "$3" sine mix "$(calc "$f*1.52")/$(calc "$f*1.5")" \
             synth "$3" exp amod "$(calc "1/$3")" 0 0 0 20
    gen "$b" synth "$3" sine "$(calc "$f*2")" synth "$3" exp amod "$(calc "1/$3")" 0 0 0 35
    gen "$c" synth 0.08 brownnoise synth 0.08 exp amod 12.5 0 0 0 20 gain -10 highpass 40 lowpass 600
    mix "$1" "$a@0@1" "$b@0@0.25" "$c@0@0.5"
}

# roll OUT NOTE DUR: timpani roll with a crescendo
roll() {
    local s n; new s
    timp "$s" "$2" 0.08
    n=$(awk -v d="$3" 'BEGIN { printf "%d", d / 0.08 + 0.999 }')
    fx "$s" "$1" repeat "$((n - 1))" trim 0 "$3" fade t "$(calc "$3*0.95")" "$3" 0.02 gain -n "$LVL"
}

# riser OUT FROM TO DUR: swept detuned saws, growing in volume
riser() {
    local a b; a=$(hz "$2"); b=$(hz "$3")
    gen "$1" synth "$4" sawtooth "$(calc "$a*0.995")/$(calc "$b*0.995")" sawtooth "$(calc "$a*1.005")/$(calc "$b*1.005")" \
             synth "$4" sawtooth mix "$(calc "$a*2")/$(calc "$b*2")" sawtooth mix "$(calc "$a*2.003")/$(calc "$b*2.003")" \
             gain -10 lowpass 2500 fade p "$(calc "$4*0.97")" "$4" 0.02 gain -n "$LVL"
}

# hit OUT NOTE...: orchestral hit - short brass chord stab, kick, snare and crash
hit() {
    local out=$1 c k s y; shift
    new c; chord brass "$c" 0.6 "$@" -- 0.005 0.45 6000
    new k; kick "$k" 120 40 0.6
    new s; snare "$s"
    new y; cymbal "$y" 1.6
    mix "$out" "$c@0@1" "$k@0@0.9" "$s@0@0.35" "$y@0@0.3"
}

# room IN OUT TAIL [REVERBERANCE] [ROOM]: add a reverb tail
room() {
    fx "$1" "$2" gain -6 pad 0 "$3" reverb "${4:-50}" 50 "${5:-80}" 100 8 gain -n "$LVL"
}

# --------------------------------------------------------------------------
# Stings
# --------------------------------------------------------------------------

make_next1() {  # question 1-5: rising swell into a hit (A minor)
    local p r s h m w
    new p; chord strings "$p" 2.3 A2 E3 A3 C4 E4 -- 1.8 0.25 1800
    new r; riser "$r" A2 A4 1.9
    new s; swell "$s" 1.9
    new h; hit "$h" A2 A3 C4 E4 A4
    new m; mix "$m" "$p@0@0.8" "$r@0@0.45" "$s@0@0.25" "$h@1.9@1.1"
    new w; room "$m" "$w" 0.4 55 90
    fx "$w" "$m" trim 0 2.7 fade q 0 -0 0.3
    master next1 "$m" -1
}

make_next2() {  # question 6-10: low, dark, heartbeat pulse into a heavy hit (D minor)
    local p d r specs=() k t h m v w
    new p; chord strings "$p" 2.5 D2 A2 D3 F3 -- 1.2 0.3 1100
    new d; fx "$p" "$d" tremolo 5.5 45
    new r; riser "$r" D1 D3 2.3
    # heartbeat: muffled low kicks, "lub-dub", quickening
    new v k; kick "$v" 75 32 0.35; fx "$v" "$k" lowpass 160 lowpass 220 gain -n "$LVL"
    for t in 0.15 0.42 0.95 1.2 1.65 1.88 2.2; do specs+=("$k@$t@1.1"); done
    new h; hit "$h" D2 A2 D3 F3 A3
    new t; timp "$t" D2 1.2
    new m
    mix "$m" "$d@0@0.8" "$r@0@0.3" "${specs[@]}" "$h@2.35@1.0" "$t@2.35@0.8"
    new w; room "$m" "$w" 0.5 60 100
    fx "$w" "$m" trim 0 3.1 fade q 0 -0 0.4
    master next2 "$m" -1
}

make_mark1() {  # answer locked in: low sustained chord hit (E minor)
    local c s k t m w
    new c; chord brass "$c" 1.25 E2 B2 E3 G3 B3 -- 0.01 0.45 2500
    new s; chord strings "$s" 1.25 E2 B2 G3 -- 0.02 0.5 900
    new k; kick "$k" 100 35 0.7
    new t; timp "$t" E2 1.0
    new m; mix "$m" "$c@0@1" "$s@0@0.6" "$k@0@0.8" "$t@0@0.6"
    new w; room "$m" "$w" 0.2 40 60
    fx "$w" "$m" trim 0 1.35 fade q 0 -0 0.25
    master mark1 "$m" -1
}

make_win1() {  # right answer: bright C major arpeggio over a held chord
    local specs=() n t i=0 c b m v w
    for n in C5 E5 G5 C6; do
        t=$(calc "$i*0.085"); i=$((i + 1))
        new v; pluck "$v" "$n" 1.2; specs+=("$v@$t@0.8")
        new v; bell "$v" "$n" 1.0; specs+=("$v@$t@0.35")
    done
    new c; chord brass "$c" 1.3 C4 E4 G4 C5 -- 0.04 0.6 5000
    new b; bell "$b" E6 1.4
    new m; mix "$m" "${specs[@]}" "$c@0.26@0.7" "$b@0.34@0.4"
    new w; room "$m" "$w" 0.4 50 70
    fx "$w" "$m" trim 0 1.85 fade q 0 -0 0.35
    master win1 "$m" -1
}

make_win2() {  # right answer, later questions: wider D major arpeggio, brass, crash
    local specs=() n t i=0 c s k y b m v w
    for n in D5 F#5 A5 D6 F#6 A6; do
        t=$(calc "$i*0.07"); i=$((i + 1))
        new v; pluck "$v" "$n" 1.3; specs+=("$v@$t@0.7")
        new v; bell "$v" "$n" 1.1; specs+=("$v@$t@0.3")
    done
    new c; chord brass "$c" 1.5 D3 A3 D4 F#4 A4 D5 -- 0.03 0.7 6000
    new s; chord strings "$s" 1.6 D3 F#3 A3 D4 -- 0.2 0.7 2500
    new k; kick "$k" 130 45 0.5
    new y; cymbal "$y" 1.8
    new b; bell "$b" D7 1.5
    new m
    mix "$m" "${specs[@]}" "$c@0.42@0.8" "$s@0.3@0.5" "$k@0.42@0.6" "$y@0.42@0.3" "$b@0.5@0.3"
    new w; room "$m" "$w" 0.5 55 85
    fx "$w" "$m" trim 0 2.15 fade q 0 -0 0.4
    master win2 "$m" -1
}

make_win4() {  # guaranteed sum: brass fanfare, triplet pick-up into a held C major chord
    local specs=() e n t d y k r c bs m v w
    # pick-up and melody: NOTE:START:LENGTH
    for e in G4:0:0.12 G4:0.13:0.12 G4:0.26:0.12 C5:0.4:0.5 E5:0.93:0.2; do
        IFS=: read -r n t d <<<"$e"
        new v; brass "$v" "$n" "$d" 0.01 0.06 6000; specs+=("$v@$t@1")
        new v; brass "$v" "${n%?}$(( ${n: -1} - 1 ))" "$d" 0.01 0.06 5000; specs+=("$v@$t@0.6")
    done
    new c; chord brass "$c" 1.75 C3 G3 C4 E4 G4 C5 G5 -- 0.03 0.9 6500
    new bs; chord strings "$bs" 1.9 C2 C3 E3 G3 -- 0.1 0.9 2000
    new r; roll "$r" C2 0.5
    new k; timp "$k" C2 1.5
    new y; cymbal "$y" 2.0
    for e in C5:1.15 E5:1.25 G5:1.35 C6:1.45; do
        IFS=: read -r n t <<<"$e"; new v; bell "$v" "$n" 1.3; specs+=("$v@$t@0.15")
    done
    new m
    mix "$m" "${specs[@]}" "$c@1.15@1.3" "$bs@1.15@0.6" "$r@0.65@0.5" "$k@1.15@0.9" "$y@1.15@0.25"
    new w; room "$m" "$w" 0.3 60 100
    fx "$w" "$m" trim 0 3.0 fade q 0 -0 0.5
    master win4 "$m" -1
}

make_win5() {  # top prize: Bb - C - F brass fanfare, timpani roll, crash, bells
    local specs=() e n t b c f bs r k y m v w
    new b; chord brass "$b" 0.45 Bb2 F3 Bb3 D4 F4 Bb4 -- 0.01 0.1 6000
    new c; chord brass "$c" 0.45 C3 G3 C4 E4 G4 C5 -- 0.01 0.1 6000
    new f; chord brass "$f" 2.7 F2 C3 F3 A3 C4 F4 A4 C5 F5 -- 0.03 1.3 7000
    new bs; chord strings "$bs" 2.9 F1 F2 C3 A3 -- 0.1 1.2 1800
    new r; roll "$r" C2 0.55
    new k; timp "$k" F2 2.0
    new y; cymbal "$y" 2.8
    for e in 0:Bb2 0.5:C3; do
        IFS=: read -r t n <<<"$e"; new v; timp "$v" "$n" 0.4; specs+=("$v@$t@0.7")
        new v; kick "$v" 120 40 0.4; specs+=("$v@$t@0.6")
    done
    for e in F5:1.05 A5:1.13 C6:1.21 F6:1.29 C6:1.6 A5:1.7 F5:1.8; do
        IFS=: read -r n t <<<"$e"; new v; bell "$v" "$n" 1.4; specs+=("$v@$t@0.13")
    done
    new m
    mix "$m" "${specs[@]}" "$b@0@1" "$c@0.5@1" "$f@1.0@1.3" "$bs@1.0@0.6" \
        "$r@0.45@0.5" "$k@1.0@1" "$y@1.0@0.25"
    new w; room "$m" "$w" 0.6 65 100
    fx "$w" "$m" trim 0 3.8 fade q 0 -0 0.7
    master win5 "$m" -1
}

# make_lose NAME HEAVY: wrong answer - a diminished chord sagging in pitch over a
# dull thud; HEAVY=1 goes lower and adds a second, distorted thud
make_lose() {
    local name=$1 heavy=$2 c s d t m bend w
    if [[ $heavy == 0 ]]; then
        new c; chord brass "$c" 1.8 B2 D3 F3 Ab3 -- 0.01 0.9 2500
        bend="0.15,-300,1.25"
    else
        new c; chord brass "$c" 2.0 E2 Bb2 Db3 G3 E1 -- 0.01 1.0 1800
        bend="0.1,-500,1.5"
    fi
    new s; fx "$c" "$s" bend -f 50 -o 16 "$bend" lowpass 1800 fade q 0 -0 0.4
    new d; thud "$d"
    new t; timp "$t" "$([[ $heavy == 0 ]] && echo B1 || echo E1)" 1.5
    new m
    if [[ $heavy == 0 ]]; then
        mix "$m" "$s@0@1" "$d@0@0.9" "$t@0@0.5"
    else
        local d2; new d2; fx "$d" "$d2" overdrive 6 10 lowpass 300
        mix "$m" "$s@0@1" "$d@0@1" "$d2@0.3@0.8" "$t@0@0.7"
    fi
    new w; room "$m" "$w" 0.4 45 70
    fx "$w" "$m" trim 0 "$([[ $heavy == 0 ]] && echo 2.0 || echo 2.25)" fade q 0 -0 0.5
    master "$name" "$m" -1
}

make_public1() {  # audience vote: crowd-like murmur, clock ticks, soft pulse and drone
    local specs=() i f band rate t k d m v w
    # murmur: bands of pink noise, each wobbling at its own rate like voices
    for band in 320:2.7:0 520:3.9:1 780:5.3:2 1150:4.6:3 1600:6.1:4; do
        IFS=: read -r f rate i <<<"$band"
        new v; gen "$v" synth 2.6 pinknoise gain -10 bandpass -c "$f" 0.8o bandpass "$f" 1o \
                  lowpass 2200 tremolo "$rate" 70 \
                  tremolo "$(calc "$rate*1.37")" 40 gain -n "$LVL"
        specs+=("$v@0@$(calc "1-$i*0.15")")
    done
    new k; tick "$k"
    for t in 0 0.25 0.5 0.75 1 1.25 1.5 1.75 2 2.25; do specs+=("$k@$t@0.6"); done
    new k; kick "$k" 70 40 0.3
    for t in 0 0.5 1 1.5 2; do specs+=("$k@$t@0.35"); done
    new d; chord strings "$d" 2.6 A2 E3 C4 -- 0.4 0.5 900
    specs+=("$d@0@0.4")
    new m; mix "$m" "${specs[@]}"
    new w; room "$m" "$w" 0.1 40 60
    fx "$w" "$m" trim 0 2.5 fade q 0.15 -0 0.3
    master public1 "$m" -1
}

make_public2() {  # audience result: short bright two-note chime
    local a b c m w
    new a; bell "$a" A5 0.7
    new b; bell "$b" E6 0.65
    new c; pluck "$c" A6 0.5
    new m; mix "$m" "$a@0@1" "$b@0.05@0.9" "$c@0.05@0.25"
    new w; room "$m" "$w" 0.05 30 40
    fx "$w" "$m" trim 0 0.72 fade q 0 -0 0.15
    master public2 "$m" -1
}

make_tel() {  # telephone: two bells struck rapidly by a clapper, two double-rings
    local b r specs=() t m w
    new b
    gen "$b" synth 0.36 sine 1020 sine 1034 synth 0.36 sine mix 1387 sine mix 1372 \
             synth 0.36 sine mix 2740 sine mix 2770 synth 0.36 sine mix 3590 sine mix 3550 \
             tremolo 24 100 highpass 500 fade q 0.005 0.36 0.04 gain -n "$LVL"
    new r; fx "$b" "$r" overdrive 4 5 gain -n "$LVL"
    for t in 0 0.52 1.22 1.74; do specs+=("$r@$t@1"); done
    new m; mix "$m" "${specs[@]}"
    new w; room "$m" "$w" 0.1 25 30
    fx "$w" "$m" trim 0 2.15 fade q 0 -0 0.05
    master tel "$m" -1
}

make_5050() {  # 50:50: a noise whoosh sweeping up then down across the stereo field, over a falling tone
    local specs=() i x fc amp l r n g g2 k m v w
    # the whoosh: overlapping slices of band-passed noise, each at its own centre
    # frequency (rising to 3.5 kHz, then falling) and its own pan position
    new n; gen "$n" synth 1.0 pinknoise
    for i in $(seq 0 17); do
        read -r x fc amp l r < <(awk -v i="$i" 'BEGIN {
            x = i / 17
            fc = (x < 0.4) ? 450 * exp(log(3500 / 450) * x / 0.4) : 3500 * exp(log(300 / 3500) * (x - 0.4) / 0.6)
            printf "%.3f %.0f %.3f %.3f %.3f\n", i * 0.045, fc, 0.25 + sin(3.14159 * x), 1 - 0.7 * x, 0.3 + 0.7 * x }')
        new v; fx "$n" "$v" trim "$x" 0.13 gain -10 bandpass "$fc" 0.6o bandpass "$fc" 1o \
                remix 1v"$l" 2v"$r" fade h 0.05 0.13 0.07
        specs+=("$v@$x@$amp")
    done
    new g
    gen "$g" synth 0.8 sawtooth 1400/150 sawtooth 1386/149 gain -10 lowpass 2500 \
             fade q 0.08 0.8 0.45 gain -n "$LVL"
    new g2
    gen "$g2" synth 0.8 sine 2800/300 sine 2772/298 fade q 0.08 0.8 0.45 gain -n "$LVL"
    new k; kick "$k" 110 40 0.35
    new m; mix "$m" "${specs[@]}" "$g@0.12@0.9" "$g2@0.12@0.3" "$k@0.7@0.35"
    new w; room "$m" "$w" 0.15 40 60
    fx "$w" "$m" trim 0 1.0 fade q 0 -0 0.1
    master 5050 "$m" -1.5
}

# --------------------------------------------------------------------------
# Menu theme: 120 bpm, D minor, bar = 2 s
#   bars 0-1   intro: swelling pad, timpani roll, cymbal swell
#   bars 2-9   Dm Bb Gm A twice: pulse bass, drums, rising motif (2nd time brass)
#   bars 10-15 Bb C Dm Bb Gm A: the motif climbs, drums double up
#   bar 16     final D minor hit with a long tail
# --------------------------------------------------------------------------

make_main() {
    local bar=2 i c t pad_specs=() bass_bars=() lead_specs=() fx_specs=() v w
    local -A pad_notes=(
        [Dm]="D3 F3 A3 D4" [Bb]="Bb2 D3 F3 Bb3" [Gm]="G2 D3 G3 Bb3"
        [A]="A2 E3 A3 C#4" [C]="C3 E3 G3 C4"
    )
    local -A roots=([Dm]=D [Bb]=Bb [Gm]=G [A]=A [C]=C)
    local -A bassoct=([Dm]=2 [Bb]=1 [Gm]=1 [A]=1 [C]=2)
    local prog=(Dm Bb Gm A Dm Bb Gm A Bb C Dm Bb Gm A)   # bars 2..15

    # --- pulse bass: one bar per chord, 3-3-2 accented octave pattern
    local lo hi b
    declare -A bass_bar=()
    for c in Dm Bb Gm A C; do
        new lo; bass "$lo" "${roots[$c]}${bassoct[$c]}" 0.25
        new hi; bass "$hi" "${roots[$c]}$(( bassoct[$c] + 1 ))" 0.25
        new b; catf "$b" "$lo" "$lo" "$hi" "$lo" "$lo" "$hi" "$lo" "$hi"
        bass_bar[$c]=$b
    done
    local silence2; new silence2; gen "$silence2" trim 0 4   # intro bars: no bass
    bass_bars=("$silence2")
    for c in "${prog[@]}"; do bass_bars+=("${bass_bar[$c]}"); done
    local basstrack; new basstrack; catf "$basstrack" "${bass_bars[@]}"

    # --- pads: intro swell, then one chord per bar (overlapping releases)
    new v; chord strings "$v" 4.4 D2 A2 D3 F3 A3 -- 3.5 0.4 1200; pad_specs+=("$v@0@1")
    declare -A padfile=()
    for c in Dm Bb Gm A C; do
        # shellcheck disable=SC2086
        new v; chord strings "$v" 2.35 ${pad_notes[$c]} -- 0.12 0.4 1700; padfile[$c]=$v
    done
    for i in "${!prog[@]}"; do
        t=$(calc "($i+2)*$bar - 0.05"); pad_specs+=("${padfile[${prog[$i]}]}@$t@0.8")
    done
    local padtrack; new padtrack; mix "$padtrack" "${pad_specs[@]}"

    # --- drums: bar patterns built once, then laid end to end
    local k s h y
    new k; kick "$k" 130 42 0.45
    new s; snare "$s"
    new h; hat "$h" 0.06
    local barA barB
    new barA   # kick on 1 and 3, hats on the off-beats
    mix "$barA" "$k@0@1" "$k@1@0.8" "$k@1.75@0.45" "$h@0.25@0.3" "$h@0.75@0.3" "$h@1.25@0.3" "$h@1.75@0.3"
    new v; fx "$barA" "$v" pad 0 2; barA=$v
    new v; fx "$barA" "$v" trim 0 2; barA=$v
    new barB   # kick on every beat, snare on 2 and 4, sixteenth hats
    local bspecs=("$k@0@1" "$k@0.5@0.75" "$k@1@0.9" "$k@1.5@0.75" "$s@0.5@0.55" "$s@1.5@0.55")
    for t in 0 0.125 0.25 0.375 0.5 0.625 0.75 0.875 1 1.125 1.25 1.375 1.5 1.625 1.75 1.875; do
        bspecs+=("$h@$t@0.2")
    done
    mix "$barB" "${bspecs[@]}"
    new v; fx "$barB" "$v" pad 0 2; barB=$v
    new v; fx "$barB" "$v" trim 0 2; barB=$v
    local drum_bars=("$silence2")
    for i in 2 3 4 5 6 7 8 9; do drum_bars+=("$barA"); done
    for i in 10 11 12 13 14 15; do drum_bars+=("$barB"); done
    local drumtrack; new drumtrack; catf "$drumtrack" "${drum_bars[@]}"

    # --- lead motif: NOTE:BEATS per bar, one string per bar
    local motif=(
        "D4:1 F4:1 A4:2" "Bb4:1 A4:1 F4:2" "G4:1 Bb4:1 D5:2" "C#5:1 E5:1 A4:2"
        "D4:1 F4:1 A4:2" "Bb4:1 A4:1 F4:2" "G4:1 Bb4:1 D5:2" "C#5:1 E5:1 A5:2"
        "F4:1 Bb4:1 D5:2" "G4:1 C5:1 E5:2" "A4:1 D5:1 F5:2" "Bb4:1 D5:1 F5:1 Bb5:1"
        "Bb4:1 D5:1 G5:2" "A4:1 C#5:1 E5:1 A5:1"
    )
    local ev n beats pos len vol lower key
    declare -A made=()
    for i in "${!motif[@]}"; do
        pos=0
        for ev in ${motif[$i]}; do
            n=${ev%:*}; beats=${ev#*:}
            t=$(calc "($i+2)*$bar + $pos*0.5")
            len=$(calc "$beats*0.5 - 0.04")
            if (( i < 4 )); then
                # first pass: soft, dark brass in the middle register
                key="soft $n $len"
                [[ -n ${made[$key]:-} ]] || { new v; brass "$v" "$n" "$len" 0.05 0.15 1800; made[$key]=$v; }
                lead_specs+=("${made[$key]}@$t@0.55")
            else
                key="loud $n $len"
                [[ -n ${made[$key]:-} ]] || { new v; brass "$v" "$n" "$len" 0.02 0.15 5500; made[$key]=$v; }
                vol=$( (( i < 8 )) && echo 0.8 || echo 1.0 )
                lead_specs+=("${made[$key]}@$t@$vol")
                # doubled an octave below
                lower="${n%?}$(( ${n: -1} - 1 ))"
                key="low $lower $len"
                [[ -n ${made[$key]:-} ]] || { new v; brass "$v" "$lower" "$len" 0.02 0.15 3000; made[$key]=$v; }
                lead_specs+=("${made[$key]}@$t@$(calc "$vol*0.55")")
            fi
            pos=$((pos + beats))
        done
    done
    local leadtrack; new leadtrack; mix "$leadtrack" "${lead_specs[@]}"

    # --- hits, rolls, swells and the ending
    local hA hB r1 r2 sw1 sw2 fin fins fint finy fink finb
    new hA; hit "$hA" D2 D3 F3 A3 D4
    new hB; hit "$hB" Bb1 Bb2 D3 F3 Bb3
    new r1; roll "$r1" D2 2.4
    new r2; roll "$r2" A1 2.0
    new sw1; swell "$sw1" 3.0
    new sw2; swell "$sw2" 2.0
    new fin; chord brass "$fin" 2.6 D2 A2 D3 F3 A3 D4 F4 A4 D5 -- 0.02 1.6 6500
    new fins; chord strings "$fins" 4.5 D1 D2 A2 D3 F3 A3 D4 -- 0.03 3.0 1500
    new fint; timp "$fint" D2 3.0
    new finy; cymbal "$finy" 3.5
    new fink; kick "$fink" 120 35 1.0
    new finb; bass "$finb" D1 2.5
    fx_specs=(
        "$r1@1.6@0.45" "$sw1@1.0@0.35" "$hA@4@0.9"
        "$hA@12@0.8" "$hB@20@0.85" "$hB@26@0.6"
        "$r2@30@0.5" "$sw2@30@0.4"
        "$fin@32@1.3" "$fins@32@0.8" "$fint@32@0.9" "$finy@32@0.45" "$fink@32@0.9" "$finb@32@0.7"
    )

    # --- the mix
    local m; new m
    mix "$m" "$padtrack@0@0.6" "$basstrack@0@0.75" "$drumtrack@0@0.6" "$leadtrack@0@0.7" "${fx_specs[@]}"
    new w; room "$m" "$w" 1.5 50 90
    fx "$w" "$m" trim 0 37 fade q 0.05 -0 2.5
    master Main "$m" -3
}

echo "make_sounds: writing to $OUT"
make_next1
make_next2
make_mark1
make_win1
make_win2
make_win4
make_win5
make_lose lose1 0
make_lose lose2 1
make_public1
make_public2
make_tel
make_5050
make_main
