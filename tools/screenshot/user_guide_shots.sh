#!/usr/bin/env bash
# Takes every picture of docs/user-guide.md from the real program: a sample
# collection is seeded in a folder of its own, and the screenshot tool walks
# through the program as the guide does. Run through `./dev guide-shots`,
# which builds first.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build/debug}
OUT=$ROOT/docs/guide
DATA=$(mktemp -d)
trap 'rm -rf "$DATA"' EXIT

mkdir -p "$OUT"
"$BUILD/tools/rkseed/rkseed" "$DATA" --tapes 40 --items-per-tape 4 --videos 30 \
  --cast-per-video 3 >/dev/null
cp "$ROOT/resources/README.TXT" "$DATA/README.TXT"

# A screen wide enough for the widest browse.
export QT_QPA_PLATFORM="offscreen:configfile=$ROOT/tools/screenshot/guide-screen.json"
shots() { "$BUILD/tools/screenshot/screenshot" "$DATA" "$@"; }

# Starting, and the tapes.
shots shot:"$OUT/start.png" click:Continue menu:-6 shot:"$OUT/tape-browse.png"

# A new tape with one recording on it.
shots click:Continue menu:-6 click:"&Insert a New Tape" \
  type:"Holiday in Cornwall" key:Tab type:"01/08/96" key:Tab type:"15/08/96" key:Tab \
  shot:"$OUT/tape-form.png" \
  tab:"COMPILATION CONTENTS" click:"&Insert" key:Tab type:"Beach day" key:Tab \
  type:"02/08/96" key:Tab type:"10:00" key:Tab type:"11:30" key:Tab \
  shot:"$OUT/item-form.png" click:OK shot:"$OUT/tape-contents.png" click:OK

# Finding tapes and recordings.
shots click:Continue menu:-6 tab:"TAPE TITLE" shot:"$OUT/find-by-title.png"
shots click:Continue menu:-7 tab:"DATE" shot:"$OUT/find-by-date.png"

# Commercial videos and their cast.
shots click:Continue menu:-9 shot:"$OUT/video-browse.png" \
  click:"&Change A Tapes Details" tab:"CAST" shot:"$OUT/video-cast.png" click:Cancel

# Subjects and manufacturers.
shots click:Continue menu:-15 shot:"$OUT/subject-browse.png"
shots click:Continue menu:-16 click:"&Insert" type:"Verbatim" \
  shot:"$OUT/manufacturer-form.png" click:Cancel

# The trees, one tape and one video opened from the keyboard.
shots click:Continue menu:-12 key:Down key:Right shot:"$OUT/tree-home.png"
shots click:Continue menu:-13 key:Down key:Right shot:"$OUT/tree-commercial.png"

# Printing the tape catalogue: its preview, then "Print!" and OK in the print
# dialog into a PDF, whose first page becomes a picture.
shots click:Continue printto:"$DATA/catalogue.pdf" menu:-19 wait:3000 \
  shot:"$OUT/report-preview.png" item:"&Print!" print:ok wait:2000
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$DATA/catalogue.pdf" "$OUT/catalogue-page"

echo "user guide pictures written to $OUT"
