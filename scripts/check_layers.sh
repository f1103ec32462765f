#!/usr/bin/env bash
# Checks the layering of src/: a folder may include headers of its own folder and of the
# folders listed for it below, never of a folder above it. It also checks that the drawing
# model inside src/workspace (the files of MODEL_SOURCES in src/workspace/CMakeLists.txt, the
# one list of them) stays free of widgets and of the main window, so it builds and is tested
# without them.
#
# Usage: bash scripts/check_layers.sh [--qt-widgets-dir DIR] [SRC_DIR]
#   SRC_DIR defaults to the src folder beside this script. DIR is the QtWidgets include folder
#   used to tell widget headers apart; found by itself under /usr/include when not given.
# Prints each offence as `file:line: include` and a summary; exits 1 on any offence, 2 on
# bad arguments.
set -euo pipefail

# What each folder may include besides itself, the standard library and third-party headers.
declare -A ALLOWED=(
  [core]=""
  [canvas]="core"
  [expr]="core"
  [ui]="core canvas"
  [effects]="core canvas ui"
  [files]="core canvas ui"
  [script]="core canvas ui expr"
  [generators]="core canvas ui expr effects files"
  [gadgets]="core canvas ui effects files generators"
  [workspace]="core canvas ui expr effects files script generators gadgets"
  [shell]="core canvas ui expr effects files script generators gadgets workspace"
)

# What the model files of src/workspace must not include: any Qt Widgets header, and these
# window headers.
MODEL_FORBIDDEN=(
  'workspace/TPixoralF.h'
  'workspace/WorkspaceControls.h'
  'workspace/QtDialogs.h'
)
# Used when no QtWidgets include folder is found.
FALLBACK_WIDGETS='QAbstractButton QAbstractItemView QAbstractScrollArea QAbstractSlider QAbstractSpinBox
QApplication QBoxLayout QButtonGroup QCheckBox QColorDialog QComboBox QDialog QDialogButtonBox
QDockWidget QDoubleSpinBox QFileDialog QFontDialog QFormLayout QFrame QGridLayout QGroupBox
QHBoxLayout QInputDialog QLabel QLayout QLineEdit QListView QListWidget QMainWindow QMdiArea
QMenu QMenuBar QMessageBox QPlainTextEdit QProgressBar QPushButton QRadioButton QScrollArea
QScrollBar QSizePolicy QSlider QSpinBox QSplashScreen QSplitter QStackedWidget QStatusBar QStyle
QTabBar QTabWidget QTableWidget QTextEdit QToolBar QToolButton QTreeWidget QVBoxLayout QWidget'

widgets_dir=""
src=""
while [ $# -gt 0 ]; do
  case "$1" in
    --qt-widgets-dir)
      [ $# -ge 2 ] || { echo "check_layers: --qt-widgets-dir needs a folder" >&2; exit 2; }
      widgets_dir="$2"
      shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "check_layers: unknown option $1" >&2; exit 2 ;;
    *)
      [ -z "$src" ] || { echo "check_layers: one source folder only" >&2; exit 2; }
      src="$1" ;;
  esac
  shift
done
[ -n "$src" ] || src="$(cd "$(dirname "$0")/.." && pwd)/src"
[ -d "$src" ] || { echo "check_layers: no source folder $src" >&2; exit 2; }
src="$(cd "$src" && pwd)"
root="$(dirname "$src")"
if [ -n "$widgets_dir" ]; then
  [ -d "$widgets_dir" ] || { echo "check_layers: no QtWidgets include folder $widgets_dir" >&2; exit 2; }
else
  for d in /usr/include/*/qt6/QtWidgets /usr/include/qt6/QtWidgets /usr/local/include/qt6/QtWidgets; do
    if [ -d "$d" ]; then widgets_dir="$d"; break; fi
  done
fi

offences=0

report() {  # file line include why
  echo "${1#"$root"/}:$2: #include $3  ($4)"
  offences=$((offences + 1))
}

# Sets TARGET to the src folder an include refers to, or to nothing for a standard or
# third-party header. Quoted names without a folder are the including file's own folder.
# (Parameter expansion where it can: this runs for every include, and subshells are slow.)
target_folder() {  # including-file own-folder include-text
  local file="$1" own="$2" inc="$3" name first resolved
  name="${inc:1:${#inc}-2}"
  TARGET=""
  if [[ "$name" == ../* || "$name" == ./* ]]; then
    resolved="$(realpath -m --relative-to="$src" "${file%/*}/$name")"
    [[ "$resolved" == ../* ]] || TARGET="${resolved%%/*}"
  elif [[ "$name" != */* ]]; then
    [[ "$inc" == \"* ]] && TARGET="$own"
  else
    first="${name%%/*}"
    if [ -n "${ALLOWED[$first]+set}" ] || [ -d "$src/$first" ]; then TARGET="$first"; fi
  fi
  return 0
}

is_widgets_header() {  # include-text
  local name="${1:1:${#1}-2}"
  [[ "$1" == \<* ]] || return 1
  [[ "$name" == QtWidgets || "$name" == QtWidgets/* ]] && return 0
  [[ "$name" == */* ]] && return 1
  if [ -n "$widgets_dir" ]; then
    [ -e "$widgets_dir/$name" ]
  else
    [[ " ${FALLBACK_WIDGETS//$'\n'/ } " == *" $name "* ]]
  fi
}

INCLUDE_RE='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<][^">]+[">])'

for dir in "$src"/*/; do
  folder="${dir%/}"
  folder="${folder##*/}"
  if [ -z "${ALLOWED[$folder]+set}" ]; then
    echo "${dir#"$root"/}: folder missing from the layering table in scripts/check_layers.sh"
    offences=$((offences + 1))
  fi
done

# The model's files as the build lists them: the words between "set(MODEL_SOURCES" and ")".
declare -A IS_MODEL=()
model_list="$src/workspace/CMakeLists.txt"
if [ -f "$model_list" ]; then
  for name in $(sed -n '/^set(MODEL_SOURCES/,/)/p' "$model_list" | sed 's/set(MODEL_SOURCES//; s/)//'); do
    if [ -f "$src/workspace/$name" ]; then
      IS_MODEL[$src/workspace/$name]=1
    else
      echo "workspace/$name: listed in MODEL_SOURCES but missing"
      offences=$((offences + 1))
    fi
  done
fi

checks_model() {  # file line include
  local name bad
  if is_widgets_header "$3"; then
    report "$1" "$2" "$3" "model file includes a Qt Widgets header"
    return 0
  fi
  name="${3:1:${#3}-2}"
  if [[ "$name" != */* ]]; then
    [[ "$3" == \"* ]] || return 0
    name="workspace/$name"
  fi
  [[ "$name" == ../* ]] && name="$(realpath -m --relative-to="$src" "$src/workspace/$name")"
  for bad in "${MODEL_FORBIDDEN[@]}"; do
    [ "$name" = "$bad" ] && report "$1" "$2" "$3" "model file includes a window header"
  done
  return 0
}

sources=(-name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc')
files_checked=$(find "$src" -mindepth 2 -type f \( "${sources[@]}" \) | wc -l)
# One grep over the whole tree: "file:line:text" for every include, in file and line order.
while IFS= read -r hit; do
  file="${hit%%:*}"
  rest="${hit#*:}"
  line="${rest%%:*}"
  [[ "${rest#*:}" =~ $INCLUDE_RE ]] || continue
  inc="${BASH_REMATCH[1]}"
  rel="${file#"$src"/}"
  [[ "$rel" == */* ]] || continue
  folder="${rel%%/*}"
  [ -n "${ALLOWED[$folder]+set}" ] || continue
  [ -n "${IS_MODEL[$file]+set}" ] && checks_model "$file" "$line" "$inc"
  target_folder "$file" "$folder" "$inc"
  [ -z "$TARGET" ] || [ "$TARGET" = "$folder" ] && continue
  [[ " ${ALLOWED[$folder]} " == *" $TARGET "* ]] && continue
  report "$file" "$line" "$inc" "$folder may not include $TARGET"
done < <(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
           '^[[:space:]]*#[[:space:]]*include' "$src" | sort -t: -k1,1 -k2,2n)

summary="layering: $files_checked files checked, ${#IS_MODEL[@]} of them the workspace model"
if [ "$offences" -gt 0 ]; then
  echo "$summary: $offences offences"
  exit 1
fi
echo "$summary: no offending includes"
