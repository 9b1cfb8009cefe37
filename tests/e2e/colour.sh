# Photos in their true colours: a photo stored in an Adobe RGB compatible
# space with its profile embedded (JPEG and BMP V5), or with a profile that
# swaps red and green, looks on the screen like the same photo in sRGB (the
# same holds for ProPhoto and Wide Gamut compatible ones);
# untagged pictures are drawn exactly as stored. The profiles are our own
# (tests/tools/make-icc.cpp); ImageMagick converts the photo into them and
# renders its own colour-managed reference, against which the mean errors
# are printed.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
set_setting DisplayTime 600
set_setting ShowClock 0
set_setting ScalePercentage 100

g++ -O2 -std=c++20 -I "$ROOT/tests" "$ROOT/tests/tools/make-icc.cpp" -o "$E2E_WORK/make-icc"
for kind in srgb adobe swap prophoto widegamut; do "$E2E_WORK/make-icc" $kind "$E2E_WORK/$kind.icc"; done

# A colourful photo-like picture of exactly the screen's size, so that
# nothing is scaled.
photo="$E2E_WORK/photo.png"
convert -seed 7 -size 1024x768 plasma:fractal -blur 0x3 -depth 8 "$photo"
convert "$photo" -quality 95 "$E2E_WORK/srgb.jpg"
convert "$photo" -type TrueColor BMP3:"$E2E_WORK/untagged.bmp"
for kind in adobe swap prophoto widegamut; do
  convert "$photo" -profile "$E2E_WORK/srgb.icc" -profile "$E2E_WORK/$kind.icc" -quality 95 \
    "$E2E_WORK/$kind.jpg"
done
convert "$photo" -profile "$E2E_WORK/srgb.icc" -profile "$E2E_WORK/adobe.icc" -type TrueColor \
  "$E2E_WORK/adobe.bmp"

# Shows picture $1 alone and takes a screenshot into $2.
show() {
  rm -f "$pics"/*
  cp "$1" "$pics/"
  start_show 1.5
  screenshot "$2"
  end_show
}
# The mean absolute error (0 to 1) between two pictures.
mae() { compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
below() { awk -v d="$1" -v l="$2" 'BEGIN { print (d < l) ? "yes" : "no: " d }'; }

for name in srgb.jpg untagged.bmp adobe.jpg swap.jpg adobe.bmp prophoto.jpg widegamut.jpg; do
  show "$E2E_WORK/$name" "$E2E_WORK/shot-$name.png"
  convert "$E2E_WORK/$name" -profile "$E2E_WORK/srgb.icc" "$E2E_WORK/reference-$name.png"
  echo "$name: mean error against ImageMagick's rendering" \
    "$(mae "$E2E_WORK/shot-$name.png" "$E2E_WORK/reference-$name.png")"
done
check "an untagged BMP is drawn exactly as stored" \
  "$(compare -metric AE "$E2E_WORK/shot-untagged.bmp.png" "$photo" null: 2>&1 || true)" 0
for name in adobe.jpg swap.jpg prophoto.jpg widegamut.jpg; do
  check "$name looks like the photo in sRGB" \
    "$(below "$(mae "$E2E_WORK/shot-$name.png" "$E2E_WORK/shot-srgb.jpg.png")" 0.01)" yes
done
check "adobe.bmp looks like the photo" \
  "$(below "$(mae "$E2E_WORK/shot-adobe.bmp.png" "$photo")" 0.01)" yes
finish
