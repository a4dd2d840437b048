#!/usr/bin/env bash
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
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"

for tool in sox lame; do
    command -v "$tool" >/dev/null || { echo "make_sounds: $tool not found" >&2; exit 1; }
done

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

# tmp: set REPLY to a fresh scratch file name
SEQ=0
tmp() { SEQ=$((SEQ + 1)); REPLY="$WORK/s$SEQ.wav"; }

# gen OUT EFFECT...: synthesise from silence (44.1 kHz stereo)
gen() { local out=$1; shift; sox -R -r "$RATE" -c 2 -n "${F32[@]}" "$out" "$@"; }

# fx IN OUT EFFECT...: process a file
fx() { local in=$1 out=$2; shift 2; sox -R "$in" "${F32[@]}" "$out" "$@"; }

# mix OUT FILE@OFFSET@VOLUME...: sum the files, each delayed by OFFSET seconds
# and scaled by VOLUME (both optional).  The result is peak-normalised to LVL.
mix() {
    local out=$1 spec f off vol args=(); shift
    for spec in "$@"; do
        IFS=@ read -r f off vol <<<"$spec"
        # a quarter of the volume keeps dozens of -20 dB layers clear of clipping
        args+=(-v "$(calc "${vol:-1}*0.25")" "|sox -R '$f' -p pad ${off:-0}")
    done
    if (( $# == 1 )); then
        sox -R "${args[@]}" "${F32[@]}" "$out" gain -n "$LVL"
    else
        sox -R -m "${args[@]}" "${F32[@]}" "$out" gain -n "$LVL"
    fi
}

# cat OUT FILE...: play the files one after another
catf() { local out=$1; shift; sox -R "$@" "${F32[@]}" "$out"; }

# master NAME IN PEAK_DB: final fade-out, peak-normalise, encode to MP3
master() {
    local name=$1 in=$2 peak=$3 wav="$WORK/$1.final.wav"
    sox -R "$in" -b 16 "$wav" fade q 0.003 -0 0.02 gain -n "$peak"
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
    tmp; a=$REPLY; tmp; b=$REPLY; tmp; c=$REPLY
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

# bell OUT NOTE DUR: struck bell / glockenspiel, harmonic and inharmonic partials
bell() {
    local f p1 p2 p3 p4 p5; f=$(hz "$2")
    tmp; p1=$REPLY; partial "$p1" "$f" "$3" 45
    tmp; p2=$REPLY; partial "$p2" "$(calc "$f*2")" "$3" 60
    tmp; p3=$REPLY; partial "$p3" "$(calc "$f*3.01")" "$3" 75
    tmp; p4=$REPLY; partial "$p4" "$(calc "$f*4.16")" "$3" 90
    tmp; p5=$REPLY; partial "$p5" "$(calc "$f*5.43")" "$3" 100
    mix "$1" "$p1@0@1" "$p2@0@0.5" "$p3@0@0.3" "$p4@0@0.22" "$p5@0@0.12"
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
    local voice=$1 out=$2 dur=$3 notes=() opts=() n specs=(); shift 3
    while (( $# )) && [[ $1 != -- ]]; do notes+=("$1"); shift; done
    (( $# )) && { shift; opts=("$@"); }
    for n in "${notes[@]}"; do
        tmp; "$voice" "$REPLY" "$n" "$dur" "${opts[@]}"; specs+=("$REPLY")
    done
    mix "$out" "${specs[@]}"
}

# --------------------------------------------------------------------------
# Percussion and effects
# --------------------------------------------------------------------------

# kick OUT [FROM_HZ] [TO_HZ] [DUR]: bass drum, a sine swept down plus a click
kick() {
    local d=${4:-0.5} body click
    tmp; body=$REPLY; tmp; click=$REPLY
    gen "$body" synth "$d" sine "${2:-140}/${3:-42}" \
             synth "$d" exp amod "$(calc "1/$d")" 0 0 0 22 fade q 0.002 "$d" 0.02
    gen "$click" synth 0.012 whitenoise gain -10 highpass 1500 fade q 0.001 0.012 0.011
    mix "$1" "$body@0@1" "$click@0@0.25"
}

# thud OUT: dull, heavy low hit (muffled kick with a rumble)
thud() {
    local k r
    tmp; k=$REPLY; kick "$k" 90 30 0.9
    tmp; r=$REPLY
    gen "$r" synth 0.9 brownnoise synth 0.9 exp amod 1.1111 0 0 0 18 gain -10 lowpass 180 lowpass 250
    mix "$1" "$k@0@1" "$r@0@0.6"
}

# snare OUT: noise crack over a short tone
snare() {
    local n t
    tmp; n=$REPLY; tmp; t=$REPLY
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
    tmp; a=$REPLY; tmp; b=$REPLY
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
    tmp; a=$REPLY; tmp; b=$REPLY; tmp; c=$REPLY
    gen "$a" synth "$3" sine "$(calc "$f*1.03")/$f" synth "$3" sine mix "$(calc "$f*1.52")/$(calc "$f*1.5")" \
             synth "$3" exp amod "$(calc "1/$3")" 0 0 0 20
    gen "$b" synth "$3" sine "$(calc "$f*2")" synth "$3" exp amod "$(calc "1/$3")" 0 0 0 35
    gen "$c" synth 0.08 brownnoise synth 0.08 exp amod 12.5 0 0 0 20 gain -10 lowpass 600
    mix "$1" "$a@0@1" "$b@0@0.25" "$c@0@0.5"
}

# roll OUT NOTE DUR: timpani roll with a crescendo
roll() {
    local s n; tmp; s=$REPLY
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
    tmp; c=$REPLY; chord brass "$c" 0.6 "$@" -- 0.005 0.45 6000
    tmp; k=$REPLY; kick "$k" 120 40 0.6
    tmp; s=$REPLY; snare "$s"
    tmp; y=$REPLY; cymbal "$y" 1.6
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
    local p r s h m
    tmp; p=$REPLY; chord strings "$p" 2.3 A2 E3 A3 C4 E4 -- 1.8 0.25 1800
    tmp; r=$REPLY; riser "$r" A2 A4 1.9
    tmp; s=$REPLY; swell "$s" 1.9
    tmp; h=$REPLY; hit "$h" A2 A3 C4 E4 A4
    tmp; m=$REPLY; mix "$m" "$p@0@0.8" "$r@0@0.45" "$s@0@0.35" "$h@1.9@1.1"
    tmp; room "$m" "$REPLY" 0.4 55 90
    fx "$REPLY" "$m" trim 0 2.7 fade q 0 -0 0.3
    master next1 "$m" -1
}

make_next2() {  # question 6-10: low, dark, heartbeat pulse into a heavy hit (D minor)
    local p d r specs=() k t h m i
    tmp; p=$REPLY; chord strings "$p" 2.5 D2 A2 D3 F3 -- 1.2 0.3 1100
    tmp; d=$REPLY; fx "$p" "$d" tremolo 5.5 45
    tmp; r=$REPLY; riser "$r" D1 D3 2.3
    tmp; k=$REPLY; kick "$k" 75 32 0.35
    for t in 0.15 0.42 0.95 1.2 1.65 1.88 2.2; do specs+=("$k@$t@0.9"); done
    tmp; h=$REPLY; hit "$h" D2 A2 D3 F3 A3
    tmp; t=$REPLY; timp "$t" D2 1.2
    tmp; m=$REPLY
    mix "$m" "$d@0@0.8" "$r@0@0.3" "${specs[@]}" "$h@2.35@1.0" "$t@2.35@0.8"
    tmp; room "$m" "$REPLY" 0.5 60 100
    fx "$REPLY" "$m" trim 0 3.1 fade q 0 -0 0.4
    master next2 "$m" -1
}

make_mark1() {  # answer locked in: low sustained chord hit (E minor)
    local c s k t m
    tmp; c=$REPLY; chord brass "$c" 1.25 E2 B2 E3 G3 B3 -- 0.01 0.45 2500
    tmp; s=$REPLY; chord strings "$s" 1.25 E2 B2 G3 -- 0.02 0.5 900
    tmp; k=$REPLY; kick "$k" 100 35 0.7
    tmp; t=$REPLY; timp "$t" E2 1.0
    tmp; m=$REPLY; mix "$m" "$c@0@1" "$s@0@0.6" "$k@0@0.8" "$t@0@0.6"
    tmp; room "$m" "$REPLY" 0.2 40 60
    fx "$REPLY" "$m" trim 0 1.35 fade q 0 -0 0.25
    master mark1 "$m" -1
}

make_win1() {  # right answer: bright C major arpeggio over a held chord
    local specs=() n t i=0 c b m
    for n in C5 E5 G5 C6; do
        t=$(calc "$i*0.085"); i=$((i + 1))
        tmp; pluck "$REPLY" "$n" 1.2; specs+=("$REPLY@$t@0.8")
        tmp; bell "$REPLY" "$n" 1.0; specs+=("$REPLY@$t@0.5")
    done
    tmp; c=$REPLY; chord brass "$c" 1.3 C4 E4 G4 C5 -- 0.04 0.6 5000
    tmp; b=$REPLY; bell "$b" E6 1.4
    tmp; m=$REPLY; mix "$m" "${specs[@]}" "$c@0.26@0.7" "$b@0.34@0.4"
    tmp; room "$m" "$REPLY" 0.4 50 70
    fx "$REPLY" "$m" trim 0 1.85 fade q 0 -0 0.35
    master win1 "$m" -1
}

make_win2() {  # right answer, later questions: wider D major arpeggio, brass, crash
    local specs=() n t i=0 c s k y b m
    for n in D5 F#5 A5 D6 F#6 A6; do
        t=$(calc "$i*0.07"); i=$((i + 1))
        tmp; pluck "$REPLY" "$n" 1.3; specs+=("$REPLY@$t@0.7")
        tmp; bell "$REPLY" "$n" 1.1; specs+=("$REPLY@$t@0.5")
    done
    tmp; c=$REPLY; chord brass "$c" 1.5 D3 A3 D4 F#4 A4 D5 -- 0.03 0.7 6000
    tmp; s=$REPLY; chord strings "$s" 1.6 D3 F#3 A3 D4 -- 0.2 0.7 2500
    tmp; k=$REPLY; kick "$k" 130 45 0.5
    tmp; y=$REPLY; cymbal "$y" 1.8
    tmp; b=$REPLY; bell "$b" D7 1.5
    tmp; m=$REPLY
    mix "$m" "${specs[@]}" "$c@0.42@0.8" "$s@0.3@0.5" "$k@0.42@0.6" "$y@0.42@0.3" "$b@0.5@0.3"
    tmp; room "$m" "$REPLY" 0.5 55 85
    fx "$REPLY" "$m" trim 0 2.15 fade q 0 -0 0.4
    master win2 "$m" -1
}

make_win4() {  # guaranteed sum: brass fanfare, triplet pick-up into a held C major chord
    local specs=() e n t d y k r c bs m
    # pick-up and melody: NOTE:START:LENGTH
    for e in G4:0:0.12 G4:0.13:0.12 G4:0.26:0.12 C5:0.4:0.5 E5:0.93:0.2; do
        IFS=: read -r n t d <<<"$e"
        tmp; brass "$REPLY" "$n" "$d" 0.01 0.06 6000; specs+=("$REPLY@$t@1")
        tmp; brass "$REPLY" "${n%?}$(( ${n: -1} - 1 ))" "$d" 0.01 0.06 5000; specs+=("$REPLY@$t@0.6")
    done
    tmp; c=$REPLY; chord brass "$c" 1.75 C3 G3 C4 E4 G4 C5 G5 -- 0.03 0.9 6500
    tmp; bs=$REPLY; chord strings "$bs" 1.9 C2 C3 E3 G3 -- 0.1 0.9 2000
    tmp; r=$REPLY; roll "$r" C2 0.5
    tmp; k=$REPLY; timp "$k" C2 1.5
    tmp; y=$REPLY; cymbal "$y" 2.0
    for e in C6:1.15 E6:1.25 G6:1.35 C7:1.45; do
        IFS=: read -r n t <<<"$e"; tmp; bell "$REPLY" "$n" 1.3; specs+=("$REPLY@$t@0.25")
    done
    tmp; m=$REPLY
    mix "$m" "${specs[@]}" "$c@1.15@1.3" "$bs@1.15@0.6" "$r@0.65@0.5" "$k@1.15@0.9" "$y@1.15@0.35"
    tmp; room "$m" "$REPLY" 0.3 60 100
    fx "$REPLY" "$m" trim 0 3.0 fade q 0 -0 0.5
    master win4 "$m" -1
}

make_win5() {  # top prize: Bb - C - F brass fanfare, timpani roll, crash, bells
    local specs=() e n t b c f bs r k y m
    tmp; b=$REPLY; chord brass "$b" 0.45 Bb2 F3 Bb3 D4 F4 Bb4 -- 0.01 0.1 6000
    tmp; c=$REPLY; chord brass "$c" 0.45 C3 G3 C4 E4 G4 C5 -- 0.01 0.1 6000
    tmp; f=$REPLY; chord brass "$f" 2.7 F2 C3 F3 A3 C4 F4 A4 C5 F5 -- 0.03 1.3 7000
    tmp; bs=$REPLY; chord strings "$bs" 2.9 F1 F2 C3 A3 -- 0.1 1.2 1800
    tmp; r=$REPLY; roll "$r" C2 0.55
    tmp; k=$REPLY; timp "$k" F2 2.0
    tmp; y=$REPLY; cymbal "$y" 2.8
    for e in 0:Bb2 0.5:C3; do
        IFS=: read -r t n <<<"$e"; tmp; timp "$REPLY" "$n" 0.4; specs+=("$REPLY@$t@0.7")
        tmp; kick "$REPLY" 120 40 0.4; specs+=("$REPLY@$t@0.6")
    done
    for e in F6:1.05 A6:1.13 C7:1.21 F7:1.29 C7:1.6 A6:1.7 F6:1.8; do
        IFS=: read -r n t <<<"$e"; tmp; bell "$REPLY" "$n" 1.4; specs+=("$REPLY@$t@0.22")
    done
    tmp; m=$REPLY
    mix "$m" "${specs[@]}" "$b@0@1" "$c@0.5@1" "$f@1.0@1.3" "$bs@1.0@0.6" \
        "$r@0.45@0.5" "$k@1.0@1" "$y@1.0@0.4"
    tmp; room "$m" "$REPLY" 0.6 65 100
    fx "$REPLY" "$m" trim 0 3.8 fade q 0 -0 0.7
    master win5 "$m" -1
}

# lose STING NAME: descending diminished chord sagging in pitch, over thuds
make_lose() {
    local name=$1 heavy=$2 c s d t m bend
    if [[ $heavy == 0 ]]; then
        tmp; c=$REPLY; chord brass "$c" 1.8 B2 D3 F3 Ab3 -- 0.01 0.9 2500
        bend="0.15,-300,1.25"
    else
        tmp; c=$REPLY; chord brass "$c" 2.0 E2 Bb2 Db3 G3 E1 -- 0.01 1.0 1800
        bend="0.1,-500,1.5"
    fi
    tmp; s=$REPLY; fx "$c" "$s" bend -f 50 -o 16 "$bend" lowpass 1800
    tmp; d=$REPLY; thud "$d"
    tmp; t=$REPLY; timp "$t" "$([[ $heavy == 0 ]] && echo B1 || echo E1)" 1.5
    tmp; m=$REPLY
    if [[ $heavy == 0 ]]; then
        mix "$m" "$s@0@1" "$d@0@0.9" "$t@0@0.5"
    else
        tmp; local d2=$REPLY; fx "$d" "$d2" overdrive 6 10 lowpass 300
        mix "$m" "$s@0@1" "$d@0@1" "$d2@0.3@0.8" "$t@0@0.7"
    fi
    tmp; room "$m" "$REPLY" 0.4 45 70
    fx "$REPLY" "$m" trim 0 "$([[ $heavy == 0 ]] && echo 2.0 || echo 2.25)" fade q 0 -0 0.5
    master "$name" "$m" -1
}

make_public1() {  # audience vote: crowd-like murmur, clock ticks, soft pulse and drone
    local specs=() i f band rate t k d m
    # murmur: bands of pink noise, each wobbling at its own rate like voices
    for band in 320:2.7:0 520:3.9:1 780:5.3:2 1150:4.6:3 1600:6.1:4; do
        IFS=: read -r f rate i <<<"$band"
        tmp; gen "$REPLY" synth 2.6 pinknoise gain -10 bandpass "$f" 0.9o tremolo "$rate" 70 \
                  tremolo "$(calc "$rate*1.37")" 40 gain -n "$LVL"
        specs+=("$REPLY@0@$(calc "1-$i*0.15")")
    done
    tmp; k=$REPLY; tick "$k"
    for t in 0 0.25 0.5 0.75 1 1.25 1.5 1.75 2 2.25; do specs+=("$k@$t@0.35"); done
    tmp; k=$REPLY; kick "$k" 70 40 0.3
    for t in 0 0.5 1 1.5 2; do specs+=("$k@$t@0.35"); done
    tmp; d=$REPLY; chord strings "$d" 2.6 A2 E3 C4 -- 0.4 0.5 900
    specs+=("$d@0@0.4")
    tmp; m=$REPLY; mix "$m" "${specs[@]}"
    tmp; room "$m" "$REPLY" 0.1 40 60
    fx "$REPLY" "$m" trim 0 2.5 fade q 0.15 -0 0.3
    master public1 "$m" -1
}

make_public2() {  # audience result: short bright two-note chime
    local a b c m
    tmp; a=$REPLY; bell "$a" A5 0.7
    tmp; b=$REPLY; bell "$b" E6 0.65
    tmp; c=$REPLY; pluck "$c" A6 0.5
    tmp; m=$REPLY; mix "$m" "$a@0@1" "$b@0.05@0.9" "$c@0.05@0.25"
    tmp; room "$m" "$REPLY" 0.05 30 40
    fx "$REPLY" "$m" trim 0 0.72 fade q 0 -0 0.15
    master public2 "$m" -1
}

make_tel() {  # telephone: two bells struck rapidly by a clapper, two double-rings
    local b r specs=() t m
    tmp; b=$REPLY
    gen "$b" synth 0.36 sine 1020 sine 1034 synth 0.36 sine mix 1387 sine mix 1372 \
             synth 0.36 sine mix 2740 sine mix 2770 synth 0.36 sine mix 3590 sine mix 3550 \
             tremolo 24 100 highpass 500 fade q 0.005 0.36 0.04 gain -n "$LVL"
    tmp; r=$REPLY; fx "$b" "$r" overdrive 4 5 gain -n "$LVL"
    for t in 0 0.52 1.22 1.74; do specs+=("$r@$t@1"); done
    tmp; m=$REPLY; mix "$m" "${specs[@]}"
    tmp; room "$m" "$REPLY" 0.1 25 30
    fx "$REPLY" "$m" trim 0 2.15 fade q 0 -0 0.05
    master tel "$m" -1
}

make_5050() {  # 50:50: sweeping noise whoosh with a falling tone and a soft landing
    local n w g l m
    tmp; n=$REPLY
    gen "$n" synth 1.0 pinknoise gain -10 bandpass 900 1.2o fade h 0.45 1.0 0.55
    tmp; w=$REPLY; fx "$n" "$w" bend -f 50 0,1000,0.45 0,-1900,0.5 flanger 0 3 0 60 1.5 \
                    gain -n "$LVL"
    tmp; g=$REPLY
    gen "$g" synth 0.9 sawtooth 1500/160 sawtooth 1480/158 gain -10 lowpass 2200 \
             fade q 0.1 0.9 0.5 gain -n "$LVL"
    tmp; l=$REPLY; kick "$l" 110 40 0.35
    tmp; m=$REPLY; mix "$m" "$w@0@1" "$g@0.05@0.35" "$l@0.65@0.3"
    tmp; room "$m" "$REPLY" 0.1 40 60
    fx "$REPLY" "$m" trim 0 1.0 fade q 0 -0 0.1
    master 5050 "$m" -1
}

# --------------------------------------------------------------------------
# Menu theme: 120 bpm, D minor, bar = 2 s
#   bars 0-1   intro: swelling pad, timpani roll, cymbal swell
#   bars 2-9   Dm Bb Gm A twice: pulse bass, drums, rising motif (2nd time brass)
#   bars 10-15 Bb C Dm Bb Gm A: the motif climbs, drums double up
#   bar 16     final D minor hit with a long tail
# --------------------------------------------------------------------------

make_main() {
    local bar=2 i c root t pad_specs=() bass_bars=() drum_specs=() lead_specs=() fx_specs=()
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
        tmp; lo=$REPLY; bass "$lo" "${roots[$c]}${bassoct[$c]}" 0.25
        tmp; hi=$REPLY; bass "$hi" "${roots[$c]}$(( bassoct[$c] + 1 ))" 0.25
        tmp; b=$REPLY; catf "$b" "$lo" "$lo" "$hi" "$lo" "$lo" "$hi" "$lo" "$hi"
        bass_bar[$c]=$b
    done
    local silence2; tmp; silence2=$REPLY; gen "$silence2" trim 0 4   # intro bars: no bass
    bass_bars=("$silence2")
    for c in "${prog[@]}"; do bass_bars+=("${bass_bar[$c]}"); done
    local basstrack; tmp; basstrack=$REPLY; catf "$basstrack" "${bass_bars[@]}"

    # --- pads: intro swell, then one chord per bar (overlapping releases)
    tmp; chord strings "$REPLY" 4.4 D2 A2 D3 F3 A3 -- 3.5 0.4 1200; pad_specs+=("$REPLY@0@1")
    declare -A padfile=()
    for c in Dm Bb Gm A C; do
        # shellcheck disable=SC2086
        tmp; chord strings "$REPLY" 2.35 ${pad_notes[$c]} -- 0.12 0.4 1700; padfile[$c]=$REPLY
    done
    for i in "${!prog[@]}"; do
        t=$(calc "($i+2)*$bar - 0.05"); pad_specs+=("${padfile[${prog[$i]}]}@$t@0.8")
    done
    local padtrack; tmp; padtrack=$REPLY; mix "$padtrack" "${pad_specs[@]}"

    # --- drums: bar patterns built once, then laid end to end
    local k s h y
    tmp; k=$REPLY; kick "$k" 130 42 0.45
    tmp; s=$REPLY; snare "$s"
    tmp; h=$REPLY; hat "$h" 0.06
    local barA barB
    tmp; barA=$REPLY   # kick on 1 and 3, hats on the off-beats
    mix "$barA" "$k@0@1" "$k@1@0.8" "$k@1.75@0.45" "$h@0.25@0.3" "$h@0.75@0.3" "$h@1.25@0.3" "$h@1.75@0.3"
    tmp; fx "$barA" "$REPLY" pad 0 2 trim 0 2; barA=$REPLY
    tmp; barB=$REPLY   # kick on every beat, snare on 2 and 4, sixteenth hats
    local bspecs=("$k@0@1" "$k@0.5@0.75" "$k@1@0.9" "$k@1.5@0.75" "$s@0.5@0.55" "$s@1.5@0.55")
    for t in 0 0.125 0.25 0.375 0.5 0.625 0.75 0.875 1 1.125 1.25 1.375 1.5 1.625 1.75 1.875; do
        bspecs+=("$h@$t@0.2")
    done
    mix "$barB" "${bspecs[@]}"
    tmp; fx "$barB" "$REPLY" pad 0 2 trim 0 2; barB=$REPLY
    local drum_bars=("$silence2")
    for i in 2 3 4 5 6 7 8 9; do drum_bars+=("$barA"); done
    for i in 10 11 12 13 14 15; do drum_bars+=("$barB"); done
    local drumtrack; tmp; drumtrack=$REPLY; catf "$drumtrack" "${drum_bars[@]}"

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
                [[ -n ${made[$key]:-} ]] || { tmp; brass "$REPLY" "$n" "$len" 0.05 0.15 1800; made[$key]=$REPLY; }
                lead_specs+=("${made[$key]}@$t@0.55")
            else
                key="loud $n $len"
                [[ -n ${made[$key]:-} ]] || { tmp; brass "$REPLY" "$n" "$len" 0.02 0.15 5500; made[$key]=$REPLY; }
                vol=$( (( i < 8 )) && echo 0.8 || echo 1.0 )
                lead_specs+=("${made[$key]}@$t@$vol")
                # doubled an octave below
                lower="${n%?}$(( ${n: -1} - 1 ))"
                key="low $lower $len"
                [[ -n ${made[$key]:-} ]] || { tmp; brass "$REPLY" "$lower" "$len" 0.02 0.15 3000; made[$key]=$REPLY; }
                lead_specs+=("${made[$key]}@$t@$(calc "$vol*0.55")")
            fi
            pos=$((pos + beats))
        done
    done
    local leadtrack; tmp; leadtrack=$REPLY; mix "$leadtrack" "${lead_specs[@]}"

    # --- hits, rolls, swells and the ending
    local hA hB r1 r2 sw1 sw2 fin fins fint finy fink finb
    tmp; hA=$REPLY; hit "$hA" D2 D3 F3 A3 D4
    tmp; hB=$REPLY; hit "$hB" Bb1 Bb2 D3 F3 Bb3
    tmp; r1=$REPLY; roll "$r1" D2 2.4
    tmp; r2=$REPLY; roll "$r2" A1 2.0
    tmp; sw1=$REPLY; swell "$sw1" 3.0
    tmp; sw2=$REPLY; swell "$sw2" 2.0
    tmp; fin=$REPLY; chord brass "$fin" 2.6 D2 A2 D3 F3 A3 D4 F4 A4 D5 -- 0.02 1.6 6500
    tmp; fins=$REPLY; chord strings "$fins" 4.5 D1 D2 A2 D3 F3 A3 D4 -- 0.03 3.0 1500
    tmp; fint=$REPLY; timp "$fint" D2 3.0
    tmp; finy=$REPLY; cymbal "$finy" 3.5
    tmp; fink=$REPLY; kick "$fink" 120 35 1.0
    tmp; finb=$REPLY; bass "$finb" D1 2.5
    fx_specs=(
        "$r1@1.6@0.45" "$sw1@1.0@0.35" "$hA@4@0.9"
        "$hB@12@0.8" "$hA@20@0.85" "$hA@26@0.6"
        "$r2@30@0.5" "$sw2@30@0.4"
        "$fin@32@1.3" "$fins@32@0.8" "$fint@32@0.9" "$finy@32@0.45" "$fink@32@0.9" "$finb@32@0.7"
    )

    # --- the mix
    local m; tmp; m=$REPLY
    mix "$m" "$padtrack@0@0.6" "$basstrack@0@0.75" "$drumtrack@0@0.6" "$leadtrack@0@0.7" "${fx_specs[@]}"
    tmp; room "$m" "$REPLY" 1.5 50 90
    fx "$REPLY" "$m" trim 0 37 fade q 0.05 -0 2.5
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
