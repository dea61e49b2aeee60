#!/usr/bin/env bash
# The sample run's third part: Pellory's window under Wine, worked through
# both pages as a user would, with a screenshot of each step.
#   sample-window.sh SAMPLE_DATA OUT
# SAMPLE_DATA is what tools/make_sample.py made; the sample server must be
# serving its server folder at the example configuration's address. Pellory
# runs from OUT/run, cleans a copy of the sample game in C:\DNF of the Wine
# prefix and backs up into C:\补丁备份; the screenshots go to OUT. Needs a
# display (run-sample.sh gives it a private one) and the win64 build.
set -euo pipefail
cd "$(dirname "$0")/.."
data=$1 out=$2
win64=$PWD/build/win64
. tools/wine-display.sh
prepare_prefix

# The game and the backup folder on drive C: of the Wine prefix, as on a
# player's machine: C:\DNF and C:\补丁备份.
drive=$WINEPREFIX/drive_c
run=$out/run game=$drive/DNF backup=$drive/补丁备份
rm -rf "$run" "$game" "$backup"
mkdir -p "$run/lst_file" "$backup"
cp -r "$data/game" "$game"
cp "$win64/bin/Pellory.exe" "$win64/bin/Ferrule.exe" "$win64/bin/File_Cfg.ini" "$run/"
# 7-Zip's Windows program is not shipped; its stand-in from the tests hands
# the work to the system's 7-Zip.
cp "$win64/seven-zip-double/7z.exe" "$run/"

step() { echo "   window: $*"; }
shot() {
  screenshot "$out/$1"
  step "screenshot $out/$1"
}
# The message box's text must begin with the expected one.
expect_box() {
  local text
  text=$(remote box)
  [[ $text == "$1"* ]] || { echo "sample-window.sh: the window said \"$text\", not \"$1\"" >&2; return 1; }
  step "message: $text"
}

set_decorated N
# Wine's own remarks (the folder dialog's look at the drives) go to a log.
wine "$run/Pellory.exe" 2>"$out/wine.log" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
remote wait >/dev/null

step "补丁清理: choose the game folder, compare sizes, scan"
remote click 按钮_选择游戏目录
remote folder 'C:\DNF'
remote click 选择框_大小对比
remote click 按钮_开始扫描
expect_box "发现 $(wc -l <"$data/findings.txt") 个补丁文件"
shot 1-scan.png
remote dismiss

step "tick all, back up to C:\\补丁备份 ($backup), clean"
remote click 选择框_全选
remote click 选择框_备份到目录
remote click 按钮_备份目录
remote folder 'C:\补丁备份'
remote click 按钮_清理文件
expect_box "清理完毕!"
shot 2-clean.png
remote dismiss

step "外服资源下载: the regions of the example configuration"
remote tab 2
remote drop 组合框_区域服务器
shot 3-regions.png
remote choose 组合框_区域服务器 0
remote click 按钮_更新LST文件
expect_box "LST文件更新完毕!"
shot 4-refresh.png
remote dismiss

step "ImagePacks2, search for \"skin\""
remote choose 组合框_文件夹目录 0
remote type 编辑框_文件名关键词 skin
remote click 按钮_查找关键词
found=$(remote count 列表框_NPK文件列表)
[ "$found" = "$(wc -l <"$data/archives.txt")" ] || { echo "sample-window.sh: the search found $found archives" >&2; exit 1; }
shot 5-search.png

archive=$(head -n 1 "$data/archives.txt")
step "double-click $archive"
remote double-click 列表框_NPK文件列表 0
remote await 标签4 "下载此文件中"
sleep 0.5
shot 6-download.png
expect_box "外服文件下载完毕!"
shot 7-done.png
remote dismiss
remote close
wait $program
trap - EXIT

unpacked=$run/Download/韩国/$archive
cmp -s "$unpacked" "$data/contents/$archive" || { echo "sample-window.sh: $unpacked is not the archive's content" >&2; exit 1; }
step "$unpacked matches the archive's content"
while read -r name; do
  [ ! -e "$game/ImagePacks2/$name" ] || { echo "sample-window.sh: $name is still in the game folder" >&2; exit 1; }
done <"$data/findings.txt"
step "the findings left the game folder for $backup"
