#!/bin/sh
# Checks that the C++ lines changed since a base commit follow .clang-format;
# lines nobody changed are left as they are, whatever their layout.
#   scripts/check-format.sh [--fix] [BASE]
# BASE defaults to $FORMAT_BASE, else to where HEAD left the main branch
# (origin/main or main), else to the commit before HEAD; uncommitted changes
# count too. With --fix the changed lines are reformatted in place. Without
# clang-format (scripts/install-deps.sh installs it), outside a git checkout,
# or in a clone without the base's history (a shallow clone), it says so and
# checks what it can.
set -eu
cd "$(dirname "$0")/.."

fix=0
if [ "${1:-}" = --fix ]; then fix=1; shift; fi
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
    echo "check-format: $CLANG_FORMAT is not installed; the layout is not checked" >&2
    exit 0
fi
if ! git rev-parse -q --verify HEAD >/dev/null 2>&1; then
    echo "check-format: not a git checkout with commits; the layout is not checked" >&2
    exit 0
fi

has() { git rev-parse -q --verify "$1^{commit}" >/dev/null 2>&1; }
base=${1:-${FORMAT_BASE:-}}
if [ -z "$base" ]; then
    for main in origin/main main; do
        if has "$main"; then
            base=$(git merge-base HEAD "$main" 2>/dev/null || true)
            break
        fi
    done
    # On the main branch itself: the last commit's lines.
    if [ -z "$base" ] || [ "$base" = "$(git rev-parse HEAD)" ]; then
        if has HEAD~1; then base=HEAD~1; else base=HEAD; fi
    fi
fi
if ! has "$base"; then
    echo "check-format: $base is not in this clone; only uncommitted changes are checked" >&2
    base=HEAD
fi

# "file first last" for every block of added or changed lines; renamed files
# count only with the lines they changed.
ranges=$(git diff -U0 -M --no-color --diff-filter=AMR "$base" -- '*.cpp' '*.h' | awk '
    /^\+\+\+ b\// { file = substr($0, 7); next }
    /^@@ / {
        split($3, added, ",")
        first = substr(added[1], 2); count = (2 in added) ? added[2] : 1
        if (count > 0) print file, first, first + count - 1
    }')

status=0
for file in $(printf '%s\n' "$ranges" | awk 'NF { print $1 }' | sort -u); do
    lines=$(printf '%s\n' "$ranges" | awk -v f="$file" '$1 == f { printf " --lines=%s:%s", $2, $3 }')
    if [ "$fix" = 1 ]; then
        # shellcheck disable=SC2086
        "$CLANG_FORMAT" --style=file -i $lines "$file"
    else
        # shellcheck disable=SC2086
        if ! "$CLANG_FORMAT" --style=file $lines "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" -; then
            status=1
        fi
    fi
done
if [ "$status" != 0 ]; then
    echo "check-format: changed lines above do not follow .clang-format (scripts/check-format.sh --fix $base)" >&2
fi
exit "$status"
