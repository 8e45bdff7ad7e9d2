# Lists the fonts a test sees and fails if one of them does not come from a
# package tools/install-deps installs. Usage: only_installed_fonts.sh SOURCE_DIR
command -v fc-list >/dev/null || { echo "skipped: fc-list is missing"; exit 77; }
allowed=$(for package in $("$1/tools/install-deps" --font-packages); do dpkg-query -L "$package"; done)
seen=$(fc-list : file | sed 's/: *$//' | sort)
echo "$seen"
[ -n "$seen" ] || { echo "no fonts at all"; exit 1; }
stray=$(comm -23 <(echo "$seen") <(echo "$allowed" | sort))
[ -z "$stray" ] || { echo "fonts from elsewhere: $stray"; exit 1; }
