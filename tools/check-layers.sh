#!/usr/bin/env bash
# The layer rule: each folder includes only from itself and the layers below
#   model <- sections <- core, files <- project <- cli, ui <- app
# No Qt header below ui/, and only the message-box seam calls QMessageBox.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A allowed=(
  [model]="model"
  [sections]="model sections"
  [core]="model sections core"
  [files]="model sections files"
  [project]="model sections core files project"
  [cli]="model sections core files project cli"
  [ui]="model sections core files project ui"
  [app]="model sections core files project ui app"
)
status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line include; do
    folder=${include#*\"}
    folder=${folder%%/*}
    if [[ " ${allowed[$layer]} " != *" $folder "* ]]; then
      echo "$file:$line: $layer/ must not include from $folder/" >&2
      status=1
    fi
  done < <(grep -rn --include='*.cpp' --include='*.hpp' -E '^#include "[a-z]+/' "$layer" |
    sed -E 's/^([^:]+):([0-9]+):#include ("[^"]*").*/\1:\2:\3/')
done
if grep -rn --include='*.cpp' --include='*.hpp' -E '#include *<Q' model sections core files project cli; then
  echo "Qt headers below ui/ (above)" >&2
  status=1
fi
if grep -rln --include='*.cpp' --include='*.hpp' 'QMessageBox' ui app | grep -v '^ui/message_box\.'; then
  echo "QMessageBox outside ui/message_box (above)" >&2
  status=1
fi
exit $status
