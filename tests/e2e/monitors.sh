# Two monitors under Wine: an X server with two screens joined by Xinerama
# (RandR off) gives Wine two monitors, both at the origin in this Xvfb; the
# show draws a picture fitted to each, the smaller monitor's over the larger
# one's, and the clock on the primary. (Monitors side by side, at negative
# coordinates and of mixed scales are checked by the host tests.)
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
# 4:3, red on the left and blue on the right.
convert -size 200x300 xc:"#FF0000" -size 200x300 xc:"#0000FF" +append "$pics/halves.jpg"
set_setting DisplayTime 600
set_setting ShowClock 1

use_two_monitors
start_show 2 30
shot="$E2E_WORK/two.png"
screenshot "$shot"
# The primary (1024 x 768) shows the picture at 1024 x 768; the second
# (800 x 600) at 800 x 600 over its top left part.
check "the second monitor's picture: its right half at 450, 300" "$(colour "$shot" 450 300)" blue
check "the second monitor's picture: its left half" "$(colour "$shot" 100 300)" red
check "the primary's picture below the second monitor" "$(colour "$shot" 450 700)" red
check "the primary's picture right of it" "$(colour "$shot" 900 300)" blue
check "the clock on the primary's lower right" "$(colour "$shot" 1020 765)" white
end_show
check "a key ends the show" "$MIRVO_RC" 0
finish
