#!/usr/bin/env bash
# Makes a release (scripts/release --no-windows) of the source tree as it stands,
# committed afresh in FOLDER/tree with a fixed author and time, so that two
# such runs in two folders start from the same commit.
#   release_build.sh SOURCE FOLDER    (RELEASE_DEPS may share the libraries' build)
set -euo pipefail
SOURCE=${1:?source tree}
FOLDER=${2:?release folder}
rm -rf "$FOLDER"
mkdir -p "$FOLDER/tree"
# The tracked files with their changes not yet committed, as git would commit them.
snapshot=$(git -C "$SOURCE" stash create)
git -C "$SOURCE" archive --format=tar "${snapshot:-HEAD}" | tar -x -C "$FOLDER/tree"
export GIT_AUTHOR_NAME=Brindlewick GIT_AUTHOR_EMAIL=developers@brindlewick.example
export GIT_COMMITTER_NAME=$GIT_AUTHOR_NAME GIT_COMMITTER_EMAIL=$GIT_AUTHOR_EMAIL
export GIT_AUTHOR_DATE="@$(git -C "$SOURCE" log -1 --format=%ct) +0000" GIT_COMMITTER_DATE="@$(git -C "$SOURCE" log -1 --format=%ct) +0000"
(cd "$FOLDER/tree" && git init -q && git add -A && git commit -q -m release)
RELEASE_DIR="$FOLDER/out" "$FOLDER/tree/scripts/release" --no-windows
