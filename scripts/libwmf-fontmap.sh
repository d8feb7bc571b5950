#!/usr/bin/env bash
# Prints a ghostscript-style Fontmap that gives libwmf's tools (wmf2gd, wmf2eps) the DejaVu fonts
# for the 35 standard PostScript font names they look up, so that they find fonts on a machine
# without the URW set and draw text with the same fonts cairo chooses.
#   scripts/libwmf-fontmap.sh [SYMBOL_FONT] > Fontmap; wmf2gd --wmf-gs-fontmap=Fontmap ...
# SYMBOL_FONT is a font file in the Symbol encoding (for example StandardSymbolsPS.t1 of the
# fonts-urw-base35 package); without it "Symbol" gets DejaVu Sans, a Latin font, and libwmf then
# draws Symbol-font text as Latin letters.
set -euo pipefail
dir=/usr/share/fonts/truetype/dejavu
symbol="${1:-$dir/DejaVuSans.ttf}"
# PostScript family and its DejaVu family; faces regular, italic, bold, bold italic.
while read -r family dejavu r i b bi italic; do
  r="${r#-}"; echo "/$family${r:+-$r} ($dir/$dejavu.ttf) ;"
  echo "/$family$i ($dir/$dejavu-$italic.ttf) ;"
  echo "/$family$b ($dir/$dejavu-Bold.ttf) ;"
  echo "/$family$bi ($dir/$dejavu-Bold$italic.ttf) ;"
done <<'TABLE'
Times DejaVuSerif -Roman -Italic -Bold -BoldItalic Italic
Helvetica DejaVuSans - -Oblique -Bold -BoldOblique Oblique
Helvetica-Narrow DejaVuSansCondensed - -Oblique -Bold -BoldOblique Oblique
Courier DejaVuSansMono - -Oblique -Bold -BoldOblique Oblique
AvantGarde DejaVuSans -Book -BookOblique -Demi -DemiOblique Oblique
Bookman DejaVuSerif -Light -LightItalic -Demi -DemiItalic Italic
NewCenturySchlbk DejaVuSerif -Roman -Italic -Bold -BoldItalic Italic
Palatino DejaVuSerif -Roman -Italic -Bold -BoldItalic Italic
TABLE
echo "/Symbol ($symbol) ;"
echo "/ZapfDingbats ($dir/DejaVuSans.ttf) ;"
echo "/ZapfChancery-MediumItalic ($dir/DejaVuSerif-Italic.ttf) ;"
