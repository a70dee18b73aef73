#!/usr/bin/env bash
# Turns the user guide (Markdown, UTF-8) into one HTML page for the release
# archive, with cmark; the page is the same bytes for the same guide.
# Usage: scripts/guide-html.sh GUIDE.md OUT.html VERSION
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 GUIDE.md OUT.html VERSION" >&2
  exit 2
fi
body=$(cmark --smart "$1")
title=$(sed -n 's/^# //p' "$1" | head -1)
cat >"$2" <<HTML
<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>$title ($3)</title>
<style>
body { font-family: "Microsoft YaHei", "SimHei", sans-serif; max-width: 50em; margin: 2em auto; padding: 0 1em; line-height: 1.6; }
code, pre { font-family: Consolas, monospace; background: #f3f3f3; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #ccc; }
</style>
</head>
<body>
<p>Orlo $3</p>
$body
</body>
</html>
HTML
