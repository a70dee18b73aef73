#!/usr/bin/env bash
# The portability rule, checked mechanically: only platform/win32 includes
# <windows.h> (and the other Win32 headers), only platform/posix includes
# termios and socket headers.
set -uo pipefail
cd "$(dirname "$0")/.."
bad=0
win=$(grep -rlE '#\s*include\s*[<"](windows|winsock2|ws2tcpip|commctrl|commdlg|shellapi)\.h[>"]' \
        --include='*.cpp' --include='*.h' . | grep -vE '^\./(platform/win32|build)/' || true)
posix=$(grep -rlE '#\s*include\s*<(termios\.h|sys/socket\.h|netinet/[a-z]+\.h|arpa/inet\.h|unistd\.h|fcntl\.h|pty\.h|poll\.h)>' \
        --include='*.cpp' --include='*.h' . | grep -vE '^\./(platform/posix|build|sim|tests)/' || true)
if [ -n "$win" ]; then echo "Win32 headers outside platform/win32:"; echo "$win"; bad=1; fi
if [ -n "$posix" ]; then echo "POSIX I/O headers outside platform/posix (and sim, tests):"; echo "$posix"; bad=1; fi
exit $bad
