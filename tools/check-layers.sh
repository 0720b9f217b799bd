#!/usr/bin/env bash
# The layer rule: each folder includes only from itself and the layers below
#   model <- sections <- core, files <- project <- cli, ui <- app
# and the browser page's bindings (web/) on cli/, whose writers it shares.
# No Qt header below ui/, only the message-box seam calls QMessageBox, and no
# name of a main-window control appears below ui/ (the layers name inputs by
# their identifiers; only ui/ knows which control shows one).
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
  [web]="model sections core files project cli web"
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
if grep -rn --include='*.cpp' --include='*.hpp' -E '#include *<Q' model sections core files project cli web; then
  echo "Qt headers below ui/ (above)" >&2
  status=1
fi
if grep -rln --include='*.cpp' --include='*.hpp' 'QMessageBox' ui app | grep -v '^ui/common/message_box\.'; then
  echo "QMessageBox outside ui/common/message_box (above)" >&2
  status=1
fi
# The main window's control names, as the window's own files quote them; a
# name that is also an input's or a state member's name is not a control's.
convention='^(i[a-z][a-zA-Z0-9_]*|cbo[a-z]+|opt_?[a-z0-9_]+|mnu[a-z0-9_]+|fr[0-9]+|[pP]ic[0-9]+'
convention+='|cmd[a-z_]*|Command[0-9]+|ringfab[0-9]|odmom[0-9]|cylinder[0-9])$'
while read -r name; do
  grep -qwE "$name" model/input_id.hpp model/project_state.hpp && continue
  if grep -rn --include='*.cpp' --include='*.hpp' -F "\"$name\"" model sections core files project cli; then
    echo "window control name \"$name\" below ui/ (above)" >&2
    status=1
  fi
done < <(grep -ohE '"[A-Za-z][A-Za-z0-9_]*"' ui/main/field_table.cpp ui/main/main_window*.cpp | tr -d '"' |
  grep -E "$convention" | sort -u)
exit $status
