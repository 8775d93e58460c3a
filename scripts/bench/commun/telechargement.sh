# What the download benchmarks share (sourced): the stand-in world serving one random file per
# size under /telechargement/ over HTTP and HTTPS, and one table that puts side by side, in the
# same run and on the same file, curl, the minimal synchronous WinHTTP reader
# (lecture_winhttp_minimale: one GET, one 1 MiB buffer, straight to a file) and the measured
# program, each writing the file to disk, taking turns; best of NORVEL_BENCH_RUNS runs (3). Sizes in MiB:
# NORVEL_BENCH_MIO ("200 1024").
#   mesurer_telechargements <tool target> <column title>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=${NORVEL_BUILD_DIR:-$root/build}
export NORVEL_BUILD_DIR=$build
tailles=${NORVEL_BENCH_MIO:-200 1024}
runs=${NORVEL_BENCH_RUNS:-3}

champ() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
rapport() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
meilleur() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a ? b : a) }'; }
# Of two result lines, the one with fewer seconds (the second when the first is empty).
plus_rapide() {
  if [ -z "$1" ] || [ "$(meilleur "$(champ secondes "$1")" "$(champ secondes "$2")")" != "$(champ secondes "$1")" ]; then
    echo "$2"
  else echo "$1"; fi
}

mesurer_telechargements() {
  local outil=$1 titre=$2
  "$root/scripts/build" --target "$outil" lecture_winhttp_minimale certificatracine >/dev/null
  "$build/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true

  local dossier
  dossier=$(mktemp -d)
  mkdir "$dossier/telechargements"
  python3 "$root/tools/monde/monde.py" --pki "$build/monde-pki" --pret "$dossier/pret" \
    --telechargements "$dossier/telechargements" >/dev/null 2>&1 &
  local monde=$!
  # shellcheck disable=SC2064
  trap "kill $monde 2>/dev/null; wait $monde 2>/dev/null; rm -rf '$dossier'" EXIT
  for _ in $(seq 1 300); do [ -f "$dossier/pret" ] && break; sleep 0.1; done
  [ -f "$dossier/pret" ] || { echo "the stand-in world did not start" >&2; exit 1; }
  valeur() { tr '\t' '\n' <"$dossier/pret" | sed 's/^PRET //' | sed -n "s/^$1=//p"; }
  # One run of a Windows measuring program on the URL; its result line, checked for the size.
  une_mesure() {
    local ligne
    ligne=$("$build/wine-run" "$build/tools/$1.exe" "$url" "$cible" 1 | tr -d '\r')
    [ "$(champ octets "$ligne")" = $((mio * 1048576)) ] || { echo "$1 got another size: $ligne" >&2; exit 1; }
    echo "$ligne"
  }
  "$build/wine-run" "$build/tools/certificatracine.exe" ajouter "Z:$(valeur ac | tr / '\\')"
  # The file lands in the folder the setup download uses, seen from Windows.
  local cible
  cible="$("$build/wine-run" cmd /c echo %TEMP% | tr -d '\r')\\recu-mesure.exe"

  printf '%-9s %-5s %8s %9s %9s %8s %8s %9s %9s\n' "size" "" "curl s" "minimal s" "$titre s" \
    "/minimal" "/curl" "ws min" "ws $titre"
  local mio
  for mio in $tailles; do
    local nom=SetupNorvelPrimaire-${mio}Mio.exe
    head -c $((mio * 1048576)) /dev/urandom >"$dossier/telechargements/$nom"
    sync
    local ecoute
    for ecoute in http https; do
      local url
      if [ $ecoute = http ]; then url="http://127.0.0.1:$(valeur http)/telechargement/$nom"
      else url="https://localhost:$(valeur https)/telechargement/$nom"; fi
      # The three take turns, run after run, so that a busy moment of the machine or of its
      # disk falls on each alike; the best run of each counts.
      local meilleur_curl="" s_min s_mes minimal="" mesure="" t _
      for _ in $(seq 1 "$runs"); do
        t=$(curl -s -f --cacert "$build/monde-pki/ac.crt" -o "$dossier/recu.exe" -w '%{time_total}' "$url")
        cmp -s "$dossier/recu.exe" "$dossier/telechargements/$nom" || { echo "curl received another file" >&2; exit 1; }
        rm -f "$dossier/recu.exe"
        meilleur_curl=$(meilleur "$meilleur_curl" "$t")
        t=$(une_mesure lecture_winhttp_minimale)
        minimal=$(plus_rapide "$minimal" "$t")
        t=$(une_mesure "$outil")
        mesure=$(plus_rapide "$mesure" "$t")
      done
      s_min=$(champ secondes "$minimal")
      s_mes=$(champ secondes "$mesure")
      printf '%-9s %-5s %8.2f %9.2f %9.2f %8s %8s %9s %9s\n' "${mio} MiB" $ecoute "$meilleur_curl" "$s_min" "$s_mes" \
        "$(rapport "$s_mes" "$s_min")" "$(rapport "$s_mes" "$meilleur_curl")" \
        "$(champ pic_memoire_mio "$minimal")" "$(champ pic_memoire_mio "$mesure")"
    done
    rm -f "$dossier/telechargements/$nom"
  done
  echo "(seconds: best of $runs runs, each writing the file to disk; /minimal, /curl: $titre's time over theirs;"
  echo " ws: peak working set in MiB of the minimal reader's and of $titre's process)"
}
