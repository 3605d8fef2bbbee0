#!/usr/bin/env bash
# The documents' relative links lead somewhere: every [text](target) in a
# tracked Markdown file names a file or folder of the tree, and a #part
# names a heading of that file (as the heading's anchor: lower case, blanks
# as dashes, other punctuation left out). Addresses with a scheme are not
# followed. Prints every broken link; fails if there is one.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT" || exit 1

anchors() {
  sed -n 's/^#\{1,6\}[[:space:]]\{1,\}//p' "$1" | tr '[:upper:]' '[:lower:]' \
    | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}

broken=0
links=0
while IFS= read -r doc; do
  while IFS= read -r target; do
    case $target in *://* | mailto:*) continue ;; esac
    links=$((links + 1))
    path=${target%%#*}
    part=""
    [ "$path" != "$target" ] && part=${target#*#}
    file=$doc
    dir=$(dirname "$doc")
    if [ "$dir" = . ]; then dir=""; else dir=$dir/; fi
    [ -n "$path" ] && file=$dir$path
    if [ ! -e "$file" ]; then
      echo "broken link: $doc: $target (no $file)"
      broken=$((broken + 1))
    elif [ -n "$part" ] && ! anchors "$file" | grep -qxF -- "$part"; then
      echo "broken link: $doc: $target (no heading '$part' in $file)"
      broken=$((broken + 1))
    fi
  done < <(grep -o '\]([^)[:space:]]*)' "$doc" | sed 's/^](//; s/)$//')
done < <(git ls-files '*.md' 2>/dev/null || find . -name '*.md' -not -path './build/*' -not -path '*/node_modules/*')

echo "links: $links relative links checked, $broken broken"
[ "$broken" -eq 0 ]
