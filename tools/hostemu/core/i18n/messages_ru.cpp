// Тексты hostemu на русском. Ключи и параметры те же, что в остальных
// каталогах (это проверяют тесты); разделы по областям, в том же порядке.
#include <iterator>

#include "i18n/Messages.h"

namespace {

const Message kMessages[] = {
    // ---- common: usage, help, errors ----
    {"cli.usage-first", "вызов: hostemu {line}\n"},
    {"cli.usage-next", "       hostemu {line}\n"},
    {"usage.init", "[--brief] <папка> init"},
    {"usage.lookup", "[--brief] <папка> lookup <номер-карты-или-телефона> <чек.xml>"},
    {"usage.transaction", "[--brief] <папка> transaction <чек.xml>"},
    {"usage.config", "<папка> config <чек.xml>"},
    {"usage.check", "<папка> check [--place КОД]"},
    {"usage.replay", "<папка> replay <brisvane.log> [--call N]"},
    {"usage.summary", "summary <brisvane.log>... [--json] [--html ФАЙЛ]"},
    {"usage.redact", "redact <brisvane.log> <копия>"},
    {"usage.version", "[--dll ПУТЬ] <папка> version"},
    {"usage.show", "show <brisvane.log> [--call N]"},
    {"help.hostcall",
     "  Загружает <папка>\\brisvane.dll, сделав <папка> рабочей папкой, как это делает\n"
     "  кассовая программа, вызывает Init, GetCardInfoEx или TransactionsEx и выводит\n"
     "  результат, запись карты (lookup) и строки журнала, записанные этим вызовом\n"
     "  (--brief: только строки, которыми вызов завершился, которые сообщают о сбое\n"
     "  или называют его причину, и только заполненные поля записи). Код завершения\n"
     "  говорит, был ли сделан вызов; что вернула DLL, показывает выведенный\n"
     "  результат. --dll ПУТЬ загружает DLL из ПУТЬ (init, lookup, transaction,\n"
     "  replay, version); <папка> остаётся рабочей папкой с conf.xml и brisvane.log.\n"},
    {"help.config",
     "  config читает <папка>\\conf.xml и чек, не вызывая DLL, и показывает, какие\n"
     "  адрес, токен и поля записи DLL возьмёт для этого чека, с предупреждениями\n"
     "  о настройках, которые делают не то, что кажется.\n"},
    {"help.check",
     "  check проверяет связь с сервером программы лояльности по шагам, так же, как\n"
     "  её устанавливает DLL (прокси, имя, TCP, TLS, один запрос GuestInfo по карте,\n"
     "  которой нет ни у одного гостя), с токеном чека без категории заказа или\n"
     "  места обслуживания КОД.\n"},
    {"help.replay",
     "  replay повторяет вызовы из brisvane.log кассы через DLL из <папка> во\n"
     "  временной папке, с подставным сервером на порту 80 свободного петлевого\n"
     "  адреса (HOSTEMU_REPLAY_ADDRESS: первый адрес, который пробовать), который\n"
     "  отдаёт записанные ответы, и по каждому вызову сообщает, совпали ли результат,\n"
     "  запросы и записи журнала (--call N: только вызов N в нумерации её вывода).\n"},
    {"help.summary",
     "  summary читает журналы касс (без папки) и показывает по каждому журналу и в\n"
     "  целом: период, вызовы и их результаты, сбои по причинам, самые долгие\n"
     "  вызовы, перезапуски и версии, пять самых долгих перерывов связи и их число\n"
     "  (--json: одним объектом JSON, все перерывы; --html ФАЙЛ: ещё и страница со\n"
     "  всеми перерывами, графиком за весь период и хронологией по дням).\n"},
    {"help.redact",
     "  redact записывает копию журнала без токенов API и персональных данных гостей\n"
     "  (замены одинаковы для одинаковых значений) и сообщает, что заменено: за\n"
     "  пределы ресторана отправляйте эту копию, а не сам журнал.\n"},
    {"help.version",
     "  version выводит ресурс версии DLL, не загружая её: версия продукта называет\n"
     "  коммит, из которого DLL собрана (код завершения 1: файл не читается или в\n"
     "  нём нет ресурса версии).\n"},
    {"help.show",
     "  show выводит записи вызовов из журнала (--call N: только вызов N), каждый с\n"
     "  заголовком: функция, время, результат и причина, в кодировке консоли.\n"},
    {"help.closing",
     "  --lang ru|en: язык этих текстов (без него: русский, если меню Windows\n"
     "  на русском, иначе английский); журналы, запросы и JSON не переводятся.\n"},
    {"help.exit-status",
     "Код завершения: {done}: выполнено (init, lookup, transaction: функция вызвана, что бы она "
     "ни вернула; как прошёл вызов, говорят выведенный результат и строки журнала; config: без "
     "предупреждений; check: сервер ответил в формате JSON; replay: все повторяемые вызовы "
     "совпали; version, show, summary, redact: выведено или записано). {found}: предупреждения "
     "config, неудачный шаг check, расхождение в повторённом вызове; init, lookup, transaction: "
     "в папку не удаётся перейти, её DLL не загружается или в ней нет нужной функции; version: "
     "файл не читается, не является программой Windows или в нём нет сведений о версии. "
     "{bad}: неверные аргументы, нечитаемый файл чека или журнала, журнал без вызовов "
     "(replay, show, summary), --call N, который не называет повторяемого вызова (replay) или "
     "вызова (show), копия, которая перезаписала бы свой журнал (redact), страница или копия, "
     "которую не удаётся записать (summary, redact). {cannot}: replay не может начаться (нет "
     "временной папки, DLL папки не загружается или в ней нет нужной функции, нет свободного "
     "адреса, мешает прокси-сервер)."},
    {"cli.list-and", "{list} и {last}"},
    {"cli.unknown-option", "неизвестный параметр {option}"},
    {"cli.unknown-command", "неизвестная команда {command}"},
    {"cli.folder-and-command", "укажите папку и команду"},
    {"cli.folder-empty", "имя папки пустое"},
    {"cli.option-of", "{option} указывается только с {commands}"},
    {"cli.lang-value", "после --lang укажите ru или en"},
    {"cli.dll-value", "после --dll укажите путь к brisvane.dll"},
    {"cli.dll-misplaced", "--dll указывается только с командами, которым нужна папка"},
    {"count.init", "у init нет других аргументов"},
    {"count.lookup", "для lookup укажите номер карты или телефона и файл чека"},
    {"count.transaction", "для transaction укажите один файл чека"},
    {"count.config", "для config укажите один файл чека"},
    {"count.check", "у check нет других аргументов (только --place КОД)"},
    {"count.replay", "для replay укажите один файл журнала"},
    {"count.summary", "для summary укажите один или несколько файлов журнала"},
    {"count.redact", "для redact укажите журнал и имя файла копии"},
    {"count.version", "у version нет других аргументов"},
    {"count.show", "для show укажите один файл журнала"},
    {"option.place-value", "после --place укажите код места обслуживания (целое число)"},
    {"option.call-value", "после --call укажите номер вызова (1, 2, ...)"},
    {"option.html-value", "после --html укажите имя файла страницы"},
    {"error.card-number", "не 64-битное число: {word}"},
    {"error.check-file", "не удаётся прочитать файл чека {file}"},
    {"error.log-file", "не удаётся прочитать файл журнала {file}"},
    {"error.no-export", "в brisvane.dll нет экспортируемой функции {name}"},
    {"error.enter-folder", "не удаётся перейти в папку {folder} (ошибка {code})"},
    {"dll.load-failed", "не удаётся загрузить {path} (ошибка {code})\n"},
    {"dll.load-failed-meaning", "не удаётся загрузить {path} (ошибка {code}: {meaning})\n"},
    {"dll.meaning-2", "файл не найден"},
    {"dll.meaning-3", "папка не найдена"},
    {"dll.meaning-5", "отказано в доступе"},
    {"dll.advice-5",
     "  Запустите hostemu от имени пользователя, которому разрешено чтение папки DLL.\n"},
    {"dll.meaning-126", "не найдена DLL или DLL, которая ей нужна"},
    {"dll.advice-126",
     "  Если кассовая программа загружает brisvane.dll не из своей рабочей папки, укажите\n"
     "  DLL: hostemu --dll \"C:\\Путь к DLL\\brisvane.dll\" \"C:\\Рабочая папка\" <команда> ...\n"
     "  (путь с пробелами заключите в кавычки). Иначе скопируйте brisvane.dll в эту папку.\n"},
    {"dll.meaning-127", "в этой Windows нет функции, которая нужна DLL"},
    {"dll.advice-127",
     "  Сообщите в поддержку, какая Windows установлена на кассе: эта сборка DLL на ней\n"
     "  работать не может.\n"},
    {"dll.meaning-193",
     "это не 32-битная DLL для Windows (64-битная сборка или повреждённый файл)"},
    {"dll.advice-193",
     "  Скопируйте brisvane.dll из папки выпуска заново, целым файлом: hostemu и кассовая\n"
     "  программа 32-битные и загружают только 32-битную DLL.\n"},
    {"dll.meaning-1114", "сбой DLL при запуске"},
    {"error.unexpected", "непредвиденный сбой"},

    // ---- lookup, transaction, init, record table ----

    // ---- config ----

    // ---- version, show ----
    {"version.dll", "DLL"},
    {"version.built-for", "Платформа"},
    {"version.file-version", "Версия файла"},
    {"version.product-version", "Версия продукта"},
    {"version.description", "Описание файла"},
    {"version.machine-x86", "32-разрядная (x86)"},
    {"version.machine-x64", "64-разрядная (x64)"},
    {"version.machine-other", "код платформы {code}"},
    {"version.unreadable",
     "не удаётся прочитать {path} (если кассовая программа загружает brisvane.dll из другой "
     "папки, укажите путь к DLL в --dll)"},
    {"version.no-pe-header", "не программа Windows (нет заголовка PE)"},
    {"version.damaged-pe-header", "не программа Windows (повреждён заголовок PE)"},
    {"version.damaged-sections", "не программа Windows (повреждена таблица секций)"},
    {"version.no-resource", "нет ресурса версии"},

    {"show.call", "Вызов {number}: {what}\n"},
    {"show.log-starts-within", "журнал начинается посреди этого вызова"},
    {"show.from-to", ", с {start} по {end}"},
    {"show.at", ", {start}"},
    {"show.result", "  результат: {result}\n"},
    {"show.result-failed", "  результат: {result} (ошибка)\n"},
    {"show.result-ended", "  результат: завершён\n"},
    {"show.result-not-logged", "  результат: не записан (журнал обрывается посреди вызова)\n"},
    {"show.cause", "  причина: {causes}\n"},
    {"show.cause-none", "  причина: нет\n"},
    {"show.cause-unnamed", "  причина: в журнале не названа\n"},
    {"show.cause-none-on-the-way", "  причина: нет (сбои по ходу вызова: {causes})\n"},
    {"show.not-a-log", "{file} не журнал brisvane.log: {why}"},

    // ---- check: steps, verdicts, advice ----

    // ---- replay ----

    // ---- summary: text and HTML ----
    {"summary.period", "Период: {from} — {to}"},
    {"summary.period-none", "Период: нет отметок времени"},
    {"summary.period-none-short", "нет отметок времени"},
    {"summary.calls-line", "Вызовы: {calls}"},
    {"summary.returned", "{count} с результатом {result}"},
    {"summary.none", "нет"},
    {"summary.none-sentence", "Нет."},
    {"summary.always-0", "всегда 0"},
    {"summary.calls.one", "{n} вызов"},
    {"summary.calls.few", "{n} вызова"},
    {"summary.calls.many", "{n} вызовов"},
    {"summary.failures.one", "{n} сбой"},
    {"summary.failures.few", "{n} сбоя"},
    {"summary.failures.many", "{n} сбоев"},
    {"summary.failed-exchanges.one", "{n} неудачный обмен"},
    {"summary.failed-exchanges.few", "{n} неудачных обмена"},
    {"summary.failed-exchanges.many", "{n} неудачных обменов"},
    {"summary.calls-unended", "{calls} без строк, которыми вызов завершается"},
    {"summary.cut-at-start", "журнал начинается посреди вызова"},
    {"summary.exchanges", "Обмены с сервером программы лояльности: {total}, неудачных {failed}"},
    {"summary.probe", "Проверка связи: неудачных {failed}, удачных {succeeded}"},
    {"summary.failures-title", "Сбои по причинам"},
    {"summary.longest-title", "Самые долгие вызовы"},
    {"summary.longest-none", "ни один не длился секунду и дольше"},
    {"summary.longest-none-sentence", "Ни один не длился секунду и дольше."},
    {"summary.seconds", "{s} с"},
    {"summary.minutes", "{min} мин {s} с"},
    {"summary.longest-call", "{duration}  вызов {number} {export} в {start}"},
    {"summary.longest-returned", ", результат {result}"},
    {"summary.longest-not-logged", ", результат не записан в журнал"},
    {"summary.not-logged", "не записан"},
    {"summary.version-first", "{version} (впервые {stamp})"},
    {"summary.versions-none", "в журнале нет"},
    {"summary.restarts", "Перезапуски (Init): {restarts}; версии: {versions}"},
    {"summary.restarts-title", "Перезапуски и версии"},
    {"summary.restarts-sentence", "Init: {restarts}. Версии: {versions}."},
    {"summary.outages-title", "Перебои связи (все обмены неудачны)"},
    {"summary.outages-longest", "{count}, самые долгие {shown} (все: --json или --html)"},
    {"summary.outages-all", "{count}, сначала самые долгие"},
    {"summary.outage", "{from} — {to}: {failed} ({causes})"},
    {"summary.outage-named", "перебой связи {outage}"},
    {"summary.total", "Итого, журналов: {count}"},
    {"summary.page-title", "Сводка по brisvane.log"},
    {"summary.per-day-title", "Вызовы и сбои по дням"},
    {"summary.per-day-label", "вызовы и сбои по дням, {from} — {to}"},
    {"summary.per-hour-label", "вызовы и сбои по часам за {day}"},
    {"summary.hour", "{from}:00–{to}:00"},
    {"summary.legend-calls", "вызовы"},
    {"summary.legend-failures", "сбои"},
    {"summary.legend-calls-per-hour", "вызовы за час"},
    {"summary.legend-outage", "перебой связи"},
    {"summary.calls-title", "Вызовы"},
    {"summary.head-export", "Функция"},
    {"summary.head-calls", "Вызовы"},
    {"summary.head-results", "Результаты"},
    {"summary.head-cause", "Причина"},
    {"summary.head-count", "Количество"},
    {"summary.head-meaning", "Значение"},
    {"summary.head-duration", "Длительность"},
    {"summary.head-call", "Вызов"},
    {"summary.head-started", "Начало"},
    {"summary.head-result", "Результат"},
    {"summary.head-log", "Журнал"},
    {"summary.head-from", "С"},
    {"summary.head-to", "По"},
    {"summary.head-failed-exchanges", "Неудачные обмены"},
    {"summary.head-causes", "Причины"},
    {"summary.cause.no-guest", "гость для закрытия чека не найден"},
    {"summary.cause.no-record", "кассовая программа не передала запись карты"},
    {"summary.cause.check-not-usable", "чек непригоден для обмена"},
    {"summary.cause.nothing-to-send", "в этом режиме работы отправлять нечего"},
    {"summary.cause.refused", "отказ сервера программы лояльности"},
    {"summary.cause.no-token", "нет токена для этого чека"},
    {"summary.cause.no-config", "нет conf.xml (файла нет или это не XML)"},
    {"summary.cause.unusable-reply", "непригодный ответ"},
    {"summary.cause.other", "другой сбой"},
    {"summary.no-call",
     "в {file} нет вызовов (ни один Init, GetCardInfoEx или TransactionsEx в нём не начинается)"},
    {"summary.cannot-write", "не удаётся записать {file}"},
    {"summary.page", "Страница: {file}"},

    // ---- redact ----
};

}  // namespace

extern const Catalog kRussianCatalog = {Language::Russian, "ru", kMessages, std::size(kMessages)};
