#!/bin/sh
# Runs a command as on a Japanese desktop: LANG=ja_JP.UTF-8, under which
# fontconfig prefers Japanese faces and Qt lists them by their Japanese
# names (「IPA Pゴシック」). Where the machine has no such locale it is
# generated into a temporary folder; where it cannot be, the variables
# fontconfig and Qt read are set all the same.
# Usage: in_japanese_locale.sh <command> [arguments…]
set -u
locales=$(mktemp -d)
trap 'rm -rf "$locales"' EXIT
unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\{0,1\}8'; then
  if localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1; then
    export LOCPATH="$locales"
  fi
fi
LANG=ja_JP.UTF-8 "$@"
