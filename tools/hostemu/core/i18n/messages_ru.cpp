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
     "  (--brief: только строки, которыми вызов завершился, которые сообщают\n"
     "  об ошибке или называют её причину, и только заполненные поля записи).\n"
     "  Код завершения говорит, состоялся ли вызов; что вернула DLL, показывает\n"
     "  выведенный результат.\n"
     "  --dll ПУТЬ загружает DLL из ПУТЬ (init, lookup, transaction, replay,\n"
     "  version); <папка> остаётся рабочей папкой с conf.xml и brisvane.log.\n"},
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
     "Код завершения: {done}: выполнено (init, lookup, transaction: функция "
     "DLL вызвана, что бы она ни вернула; как прошёл вызов, показывают "
     "выведенный результат и строки журнала; config: без предупреждений; "
     "check: сервер ответил в формате JSON; replay: все повторяемые вызовы "
     "совпали; version, show, summary, redact: выведено или записано). "
     "{found}: предупреждения config, неудачный шаг check, расхождение в "
     "повторённом вызове; init, lookup, transaction: не удаётся перейти в "
     "папку, DLL не загружается или в ней нет нужной функции; version: файл "
     "не читается, не является программой Windows или не содержит сведений о "
     "версии. {bad}: неверные аргументы, нечитаемый файл чека или журнала, "
     "журнал без вызовов (replay, show, summary), --call N не указывает "
     "повторяемый вызов (replay) или вызов (show), копия перезаписала бы "
     "свой журнал (redact), не удаётся записать страницу или копию (summary, "
     "redact). {cannot}: replay не может начаться (нет временной папки, DLL "
     "из папки не загружается или в ней нет нужной функции, нет свободного "
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

    // ---- redact ----
};

}  // namespace

extern const Catalog kRussianCatalog = {Language::Russian, "ru", kMessages, std::size(kMessages)};
