#!/usr/bin/env bash
# Builds brisvane.dll and the host emulator, starts the fake
# loyalty service with the bundled sample guests (samples/demo), and plays a
# short shift at the till through the real DLL under Wine, in a scratch folder
# laid out like a POS host's working directory. Then a second act: the service
# stops, a lookup fails, and the demo shows what support would look at: the
# call's closing log lines, the connection check's verdict, the day's log summed
# up, and the day's log replayed through the DLL, every call the same. Exit 0
# only when every step gave what it should. Build and installation output is
# shown only when they fail.
#   BRISVANE_DEMO_ADDRESS  loopback address of the fake service (127.0.0.2)
#   BRISVANE_DEMO_KEEP=1   keep the till's folder (brisvane.log, debug files)
#   BRISVANE_DEMO_LANG     ru or en: the narration's language and hostemu's
#                          (default: ru when the locale is Russian, else en)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

lang="${BRISVANE_DEMO_LANG:-}"
if [ -z "$lang" ]; then
  case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
    ru*) lang=ru ;;
    *) lang=en ;;
  esac
fi
case "$lang" in
  ru | en) ;;
  *) echo "demo: BRISVANE_DEMO_LANG must be ru or en, not '$lang'" >&2; exit 2 ;;
esac
# say ENGLISH RUSSIAN: the narration's text in the chosen language.
say() {
  if [ "$lang" = ru ]; then printf '%s\n' "$2"; else printf '%s\n' "$1"; fi
}
work="$(mktemp -d /tmp/brisvane-demo.XXXXXX)"
till="$work/till"
service_pid=""
cleanup() {
  if [ -n "$service_pid" ] && kill -0 "$service_pid" 2>/dev/null; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  if [ "${BRISVANE_DEMO_KEEP:-0}" = 1 ]; then
    say "(the till's folder is kept: $till)" "(рабочая папка кассы сохранена: $till)"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
# quietly LOG TEXT COMMAND...: one line while COMMAND runs; its output only when it fails.
quietly() {
  local log="$work/$1.log" text="$2"
  shift 2
  echo "=== $text"
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    say "demo: $text failed" "demo: не удалось: $text" >&2
    exit 1
  fi
}
quietly install-deps "$(say "checking the packages it needs" "проверка нужных пакетов")" \
  scripts/install-deps.sh

addr="${BRISVANE_DEMO_ADDRESS:-127.0.0.2}"
samples=samples/demo

quietly configure "$(say "configuring the 32-bit Windows build" \
  "настройка сборки для 32-разрядной Windows")" cmake --preset win32
quietly build "$(say "building brisvane.dll and hostemu.exe (32-bit Windows, MinGW)" \
  "сборка brisvane.dll и hostemu.exe (32-разрядная Windows, MinGW)")" \
  cmake --build --preset win32 --target brisvane hostemu

mkdir -p "$till"
cp build/win32/brisvane.dll build/win32/hostemu.exe "$till/"
sed "s|<ApiAddress>[^<]*</ApiAddress>|<ApiAddress>$addr</ApiAddress>|" "$samples/conf.xml" >"$till/conf.xml"

say "=== Starting the fake loyalty service on $addr:80 with the sample guests" \
  "=== Запуск тестового сервера программы лояльности на $addr:80 с гостями из примера"
python3 tools/fakeloyalty/fakeloyalty.py --http "$addr:80" --scenario "$samples/scenario.json" \
  --pid-file "$work/fakeloyalty.pid" --moved-by BRISVANE_DEMO_ADDRESS >"$work/fakeloyalty.log" 2>&1 &
service_pid=$!
for _ in $(seq 1 100); do
  [ -f "$work/fakeloyalty.pid" ] && break
  if ! kill -0 "$service_pid" 2>/dev/null; then
    # The service's own last line names the address and the setting that moves it.
    say "demo: the fake service did not start: $(tail -n 1 "$work/fakeloyalty.log")" \
      "demo: тестовый сервер не запустился: $(tail -n 1 "$work/fakeloyalty.log")" >&2
    exit 1
  fi
  sleep 0.1
done
[ -f "$work/fakeloyalty.pid" ] || {
  say "demo: the fake service did not start in time" "demo: тестовый сервер не успел запуститься" >&2
  exit 1
}

export WINEPREFIX="$root/build/win32/wineprefix"
failures=0

# hostemu speaks the narration's language when it takes --lang; one that does
# not know the option refuses it as a bad argument (exit 2), so ask a command
# that reads the DLL's file without loading it.
lang_option=()
if scripts/wine-run.sh "$till/hostemu.exe" --lang "$lang" --dll "Z:$till/brisvane.dll" "Z:$till" \
  version >/dev/null 2>&1; then
  lang_option=(--lang "$lang")
  hostemu_lang="$lang"
else
  hostemu_lang=en
  [ "$lang" = en ] || echo "(hostemu.exe не знает параметра --lang: его вывод будет на английском)"
fi

# step TITLE STORY EXPECTED hostemu-arguments...: runs one hostemu command and
# checks that its output holds EXPECTED (a grep pattern that holds in every
# language: the DLL's log texts, the record's values, numbers) and, when
# STEP_RC is set, that it exits with that status. STEP_SHOW (a sed script)
# picks the lines shown; STEP_ALSO names one more pattern the output must hold;
# STEP_EN one that hostemu's English output must hold.
step() {
  local title="$1" story="$2" expected="$3" out rc=0 pattern ok=1
  shift 3
  echo
  echo "=== $title"
  # fold counts bytes: a Cyrillic line would break at half the width.
  printf '%s\n' "$story" | python3 -c 'import sys, textwrap
print(textwrap.fill(sys.stdin.read().strip(), 88, break_long_words=False, break_on_hyphens=False))'
  echo
  out="$(scripts/wine-run.sh "$till/hostemu.exe" "${lang_option[@]}" "$@" 2>&1)" || rc=$?
  printf '%s\n' "$out" | sed -n "${STEP_SHOW:-p}" | sed 's/^/    /'
  [ "$hostemu_lang" = en ] || STEP_EN=""
  for pattern in "$expected" ${STEP_ALSO:+"$STEP_ALSO"} ${STEP_EN:+"$STEP_EN"}; do
    if ! grep -q -- "$pattern" <<<"$out"; then
      say "!!! should have been seen: $pattern" "!!! в выводе нет: $pattern"
      ok=0
    fi
  done
  if [ -n "${STEP_RC:-}" ] && [ "$rc" != "$STEP_RC" ]; then
    say "!!! hostemu exited with $rc, not $STEP_RC" "!!! код завершения hostemu — $rc, а должен быть $STEP_RC"
    ok=0
  fi
  [ "$ok" = 1 ] || failures=$((failures + 1))
  STEP_RC="" STEP_SHOW="" STEP_ALSO="" STEP_EN=""
}
STEP_RC="" STEP_SHOW="" STEP_ALSO="" STEP_EN=""

till_win="Z:$till"

STEP_EN="Init returned 0" step "$(say "The till starts" "Касса запускается")" \
  "$(say "The host loads brisvane.dll and calls Init: the DLL writes its banner, version and conf.xml into brisvane.log." \
    "Кассовая программа загружает brisvane.dll и вызывает Init. Модуль пишет в brisvane.log заставку, свою версию и копию conf.xml.")" \
  "Init : Ended" \
  --brief "$till_win" init

STEP_RC=0 STEP_EN="No warnings" step "$(say "The installer checks the settings" "Установщик проверяет настройки")" \
  "$(say "Before opening, hostemu's config report says what the DLL will use for a paid order of the hall (order category 1): address, port, token, which payments are bonus and deposit payments, and the record slots of those accounts." \
    "Перед открытием смены установщик запускает hostemu config. Отчёт показывает, что модуль возьмёт для оплаченного заказа в зале (категория заказа 1): адрес, порт и токен, какие оплаты идут бонусами и с депозита и в каких полях записи карты видны эти счета.")" \
  "$addr" \
  "$till_win" config "$samples/paid-check.xml"

STEP_EN="returned 0" step "$(say "A guest is recognised" "Касса узнаёт гостя")" \
  "$(say "Anna presents card 1001 before ordering; the check's working mode 0 asks the service who she is. The till shows her name, level and bonus balance." \
    "Анна предъявляет карту 1001 до заказа. Чек в режиме работы 0 — это запрос гостя: модуль узнаёт у сервера, кто она. Касса показывает её имя, уровень и бонусный баланс.")" \
  "Ended successfully! RETURN 0" \
  --brief "$till_win" lookup 1001 "$samples/guest-check.xml"

step "$(say "A guest and the order's discount" "Гость и скидка на заказ")" \
  "$(say "Ivan presents card 1002 for his open order of 1420.00 (working mode 1): the DLL asks for the guest, then prices the order. The till shows the discount, the bonuses he may spend (sub-account 2) and his deposit (sub-account 3)." \
    "Иван предъявляет карту 1002 к открытому заказу на 1420,00 (режим работы 1). Модуль запрашивает данные гостя, затем скидку на заказ. Касса показывает скидку, бонусы, которыми Иван может заплатить (субсчёт 2), и его депозит (субсчёт 3).")" \
  "Max_discount  *71.00" \
  --brief "$till_win" lookup 1002 "$samples/order-check.xml"

step "$(say "A blocked card" "Заблокированная карта")" \
  "$(say "Card 1003 is presented; the service answers that it is blocked. The lookup still succeeds: the till marks the card blocked and shows the reason, and sells nothing on it." \
    "Гость предъявляет карту 1003. Сервер отвечает, что карта заблокирована. Запрос по карте при этом проходит успешно: касса помечает карту как заблокированную, показывает причину и ничего по этой карте не продаёт.")" \
  "Blocked  *1" \
  --brief "$till_win" lookup 1003 "$samples/guest-check.xml"

STEP_EN="TransactionsEx returned 0" step "$(say "The order is paid and closed" "Заказ оплачен и закрыт")" \
  "$(say "Anna's order of 1525.00 is paid: 200.00 from bonuses (payment type 5), 300.00 from her deposit (type 6) and 1025.00 in cash. The DLL finds her in the bonus payment, prices the order and closes it at the service." \
    "Заказ Анны на 1525,00 оплачен: 200,00 бонусами (тип оплаты 5), 300,00 с её депозита (тип 6) и 1025,00 наличными. Модуль узнаёт гостя по оплате бонусами, запрашивает скидку на заказ и закрывает заказ на сервере.")" \
  "TransactionsEx : Ended RETURN 0" \
  --brief "$till_win" transaction "$samples/paid-check.xml"

STEP_EN="TransactionsEx returned 0" step "$(say "The order is returned" "Возврат заказа")" \
  "$(say "The same order is taken back; the DLL tells the service to return it." \
    "Гость возвращает тот же заказ. Модуль передаёт возврат на сервер.")" \
  "TransactionsEx : Ended RETURN 0" \
  --brief "$till_win" transaction "$samples/return-check.xml"

echo
say "=== What the loyalty service received" "=== Что получил сервер программы лояльности"
python3 - "$addr" <<'EOF' | sed 's/^/    /'
import json, sys, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
with opener.open("http://%s/__control/requests" % sys.argv[1], timeout=10) as r:
    records = json.load(r)["requests"]
for rec in records:
    body = bytes.fromhex(rec["body_hex"]).decode("utf-8", "replace")
    # The start names the order, the end of a close its write-offs.
    print("%s %s  %s" % (rec["method"], rec["path"],
                         body if len(body) <= 140 else body[:30] + " ... " + body[-100:]))
EOF

echo
say "=== Second act: the loyalty service stops" "=== Второе действие: сервер программы лояльности остановлен"
kill "$service_pid"
wait "$service_pid" 2>/dev/null || true
service_pid=""
till_log="$till_win/brisvane.log"

STEP_RC=0 STEP_ALSO="Windows error 12029" STEP_EN="returned 1" \
  STEP_SHOW='/^wine: /p;/^GetCardInfoEx(/p;/SendRequestWrapper : TRY SEND REQUEST/,$p' \
  step "$(say "A lookup while the service is down" "Запрос по карте при остановленном сервере")" \
  "$(say "Anna presents card 1001 again. The guest request cannot connect: Windows names the cause (12029, nothing accepts the connection), the DLL waits 10 s and checks whether www.google.com answers: without internet it gives up at once; with internet it waits 30 s and tries once more, in vain. The call's last lines: no line names the result, and the record dump is \"NULL\" with no line end. The till shows the lookup failed (result 1)." \
    "Анна снова предъявляет карту 1001. Модулю не удаётся подключиться к серверу, и Windows называет причину: ошибка Windows 12029, соединение никто не принимает. Модуль ждёт 10 с и проверяет доступ в интернет (отвечает ли www.google.com). Если интернета нет, модуль сразу прекращает попытки. Если есть, ждёт ещё 30 с и делает повторную попытку, тоже безуспешно. Ниже — последние строки вызова в журнале: ни одна не называет результат, а вместо записи карты стоит \"NULL\" без перевода строки. Касса сообщает, что запрос не удался (результат 1).")" \
  "AND INFO WAS NULL" \
  "$till_win" lookup 1001 "$samples/guest-check.xml"

STEP_RC=1 STEP_EN="^Verdict: FAILED: nothing accepts connections" \
  step "$(say "The installer runs the connection check" "Установщик запускает проверку связи")" \
  "$(say "hostemu check tries each step the DLL's connection takes and names the one that fails." \
    "hostemu check по очереди проходит те же шаги, что и модуль при соединении с сервером, и называет шаг, на котором произошёл сбой.")" \
  "10061" \
  "$till_win" check

STEP_RC=0 STEP_EN="Windows error 12029" \
  step "$(say "Support sums up the day's log" "Поддержка составляет сводку по журналу за день")" \
  "$(say "hostemu summary reads brisvane.log: the calls and their results, and the failures by cause." \
    "hostemu summary читает brisvane.log и показывает вызовы с их результатами и сбои по причинам.")" \
  "12029" \
  summary "$till_log"

STEP_RC=0 STEP_EN="^\([0-9]*\) calls: \1 same, 0 differ, 0 not replayable" \
  step "$(say "Support replays the day's log" "Поддержка воспроизводит журнал за день")" \
  "$(say "hostemu replay makes every call of the log again through the DLL, against the replies the log recorded (the failed one refused again, its 10 s pause waited for real): each call must do what it did at the till." \
    "hostemu replay заново выполняет через модуль каждый вызов из журнала и отвечает модулю ответами, записанными в журнале. Неудачный вызов снова получает отказ, и его пауза 10 с выдерживается по-настоящему. Каждый вызов должен сделать то же, что сделал на кассе.")" \
  "TransactionsEx" \
  "$till_win" replay "$till_log"

echo
if [ "$failures" -ne 0 ]; then
  say "=== Demo finished: $failures step(s) did not give what they should" \
    "=== Демонстрация окончена. Шагов с неверным результатом: $failures"
  exit 1
fi
say "=== Demo finished: every step gave what it should" \
  "=== Демонстрация окончена: все шаги дали ожидаемый результат"
