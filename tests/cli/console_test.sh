#!/bin/sh
# veltrano.exe on a console. Run under Wine on a terminal, a Windows program
# gets a console, which Wine shows on that terminal. What the program writes
# there, on standard output and on standard error, must show as the text it
# stands for (here a folder named "Bücher 索引"), whatever the console's code
# page; the same text through a pipe is tested with the other program tests.
#
#   console_test.sh EMULATOR VELTRANO CHAPTER WORKDIR
set -eu
emulator=$1 program=$2 chapter=$3 work=$4
name='Bücher 索引'
rm -rf "$work"
mkdir -p "$work/$name"
cp "$chapter" "$work/$name/ch1.mif"

# The terminal's text as a user reads it: `script` gives the program a
# terminal (of UTF-8 text); a step of the cursor to the right, which the
# console may write for a space, is a space, and other control sequences
# and carriage returns are left out.
on_console() {
  LC_ALL=C.UTF-8 TERM=xterm script -qec "$1" /dev/null </dev/null |
    sed 's/\x1b\[1\{0,1\}C/ /g; s/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r'
}

status=0
out=$(on_console "\"$emulator\" \"$program\" dump \"$work/$name/ch1.mif\"")
case "$out" in
  *"$name"*) ;;
  *) echo "standard output on the console does not show \"$name\":"; echo "$out"; status=1 ;;
esac
err=$(on_console "\"$emulator\" \"$program\" dump \"$work/$name/none.mif\"")
case "$err" in
  *"$name"*) ;;
  *) echo "standard error on the console does not show \"$name\":"; echo "$err"; status=1 ;;
esac
# A line longer than the program's output buffer, of characters of three
# bytes each: the buffer ends inside one of them for two of three shifts,
# and the console still shows each character whole, none as U+FFFD.
run=索
for i in 1 2 3 4 5 6 7 8 9; do run=$run$run; done
run=$run$run$run
for shift in "" x xx; do
  sed "s/Dogs learn quickly when training starts early. Short sessions work best./$shift$run/" \
    "$chapter" >"$work/long$shift.mif"
  shown=$(on_console "\"$emulator\" \"$program\" dump \"$work/long$shift.mif\"")
  case "$shown" in
    *"$shift索索"*) ;;
    *) echo "a long line after \"$shift\" is not shown on the console"; status=1 ;;
  esac
  case "$shown" in
    *"�"*) echo "a long line after \"$shift\" shows U+FFFD on the console"; status=1 ;;
  esac
done

rm -rf "$work"
exit "$status"
