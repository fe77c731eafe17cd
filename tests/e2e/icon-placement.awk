# Reads an icon's pixels, a line "END", then a picture's pixels, each in ImageMagick's
# txt: format, and prints how many of the icon's pixels differ from the picture where the
# icon fits best: 0 when the picture shows the icon; "no icon" when none was read.
BEGIN { FS = "[,:() ]+"; part = 1; n = 0 }
/^#/ { next }
$0 == "END" { part = 2; next }
NF < 5 { next }
part == 1 { ix[n] = $1; iy[n] = $2; ic[n] = $3 "," $4 "," $5; n++; if ($1 >= iw) iw = $1 + 1; if ($2 >= ih) ih = $2 + 1; next }
{ p[$1 "," $2] = $3 "," $4 "," $5; if ($1 >= pw) pw = $1 + 1; if ($2 >= ph) ph = $2 + 1 }
END {
    if (n == 0) { print "no icon"; exit }
    best = n
    for (dy = 0; dy + ih <= ph; dy++)
        for (dx = 0; dx + iw <= pw; dx++) {
            differ = 0
            for (i = 0; i < n && differ < best; i++)
                if (p[(ix[i] + dx) "," (iy[i] + dy)] != ic[i]) differ++
            if (differ < best) best = differ
        }
    print best
}
