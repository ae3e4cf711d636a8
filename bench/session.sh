#!/bin/sh
# Prints the keystrokes of a benchmark session: ROUNDS passes through every
# menu and prompt, then one fine-tuned channel and "Save settings and exit".
rounds=${1:-40}

picture_input() { # $1: input item
  printf '%s\n' "$1" 1 200 x 2 100 x 3 90 x 4
}

round() {
  # Picture settings, each input, each setting.
  printf '1\n'; picture_input 1; picture_input 2; picture_input 3; printf '4\n'
  # Audio: enable, then disable.
  printf '2\n1\n2\n2\n'
  # Tuner: both types, a table, RF channel, fine tuning set and removed, list.
  printf '%s\n' 3 1 2 3 3 5 45 4 2 5 175500 0 x x 1 '' 3 6
  # Other: a refused resolution choice (reprint), 720, shift, an invalid and a
  # valid luminance delay, back to 544.
  printf '%s\n' 4 1 9 3 2 120 x 3 5 '' -4 1 2 4
}

for _ in $(seq "$rounds"); do round; done
printf '%s\n' 3 4 2 12 203250 x x 3 6 5
