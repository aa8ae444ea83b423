#!/usr/bin/env bash
# The three programs answer --version and --help alike, without a display, and fail when they cannot
# write the answer.
set -u
bin=$1
status=0
check() { if ! eval "$2"; then echo "FAIL: $1"; status=1; fi; }
for p in zarno zarno-cli zarno-device; do
    v=$(env -u DISPLAY QT_QPA_PLATFORM=minimal "$bin/$p" --version); rc=$?
    check "$p --version exits 0" '[ $rc -eq 0 ]'
    check "$p --version says '$v'" '[[ "$v" =~ ^$p\ \(Zarno\)\ [0-9]+\.[0-9]+\.[0-9]+$ ]]'
    h=$(env -u DISPLAY "$bin/$p" --help); rc=$?
    check "$p --help exits 0" '[ $rc -eq 0 ]'
    check "$p --help starts with its usage" '[[ "$h" == "Usage: $p "* ]]'
    check "$p --help lists --version" '[[ "$h" == *"--version"* ]]'
    env -u DISPLAY "$bin/$p" --version >/dev/full 2>/dev/null
    check "$p --version into a full output fails" '[ $? -ne 0 ]'
    # --lang: taken anywhere before the command's own words; a bad value is a usage error.
    h=$(env -u DISPLAY "$bin/$p" --lang en --help); rc=$?
    check "$p --lang en --help exits 0" '[ $rc -eq 0 ] && [[ "$h" == "Usage: $p "* ]]'
    check "$p --help lists --lang" '[[ "$h" == *"--lang ru|en"* ]]'
    for bad in "--lang fr" "--lang=" "--lang"; do
        e=$(env -u DISPLAY "$bin/$p" $bad --help 2>&1 >/dev/null); rc=$?
        check "$p $bad exits 2" '[ $rc -eq 2 ]'
        check "$p $bad says why ('$e')" '[[ "$e" == "$p: "*"--lang"*"ru or en"* ]]'
    done
done
# The choice reaches the messages of a command that makes its own application object later, whatever
# the locale says (nobody answers on the loopback's discard port).
for case in "en:The message could not be delivered" "ru:Ошибка доставки сообщения"; do
    lang=${case%%:*} want=${case#*:}
    e=$(LANG=C LANGUAGE= ZARNO_LANGUAGE= "$bin/zarno-cli" --lang "$lang" device --udp 127.0.0.1:9 --retries 0 ls 2>&1)
    check "zarno-cli --lang $lang speaks $lang ('$e')" '[[ "$e" == *"$want"* ]]'
done
[ $status -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $status
