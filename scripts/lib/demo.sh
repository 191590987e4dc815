# The demonstration folder that scripts/run and scripts/screenshots search:
# copies of a few files in several folders, under Japanese names, and files
# that match nothing. Sourced after common.sh.

# make_demo_files DIR: makes DIR afresh with the demonstration files.
make_demo_files() {
  local demo=$1
  rm -rf "$demo"
  mkdir -p "$demo/写真" "$demo/文書/古い版"
  printf '会議の議事録\r\n' >"$demo/文書/議事録.txt"
  cp "$demo/文書/議事録.txt" "$demo/文書/古い版/議事録 (コピー).txt"
  head -c 3000 /dev/urandom >"$demo/写真/IMG_0001.JPG"
  cp "$demo/写真/IMG_0001.JPG" "$demo/IMG_0001.JPG"
  cp "$demo/写真/IMG_0001.JPG" "$demo/文書/古い版/IMG_0001 (2).JPG"
  printf 'unique one\r\n' >"$demo/readme.txt"
  printf 'another unique file\r\n' >"$demo/文書/memo.txt"
  touch -d '2026-11-02 10:20:30' "$demo/文書/議事録.txt" "$demo/文書/古い版/議事録 (コピー).txt"
  touch -d '2026-10-15 08:00:00' "$demo/写真/IMG_0001.JPG" "$demo/IMG_0001.JPG" "$demo/文書/古い版/IMG_0001 (2).JPG"
}

# add_near_copies DIR: two files of the same size and time whose contents
# differ, which only a search with "CRC16" or a full comparison tells apart.
add_near_copies() {
  local demo=$1
  mkdir -p "$demo/見積"
  printf '見積金額: 120,000円\r\n' >"$demo/見積/見積書.txt"
  printf '見積金額: 150,000円\r\n' >"$demo/見積/見積書 (改訂).txt"
  touch -d '2026-12-01 09:00:00' "$demo/見積/"*.txt
}

# windows_path PATH: the path as Wine's programs see it (drive Z:).
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
