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
    {"help.hostcall",
     "  Загружает <папка>\\brisvane.dll, сделав <папка> рабочей папкой, как это делает\n"
     "  кассовая программа, вызывает Init, GetCardInfoEx или TransactionsEx и выводит\n"
     "  результат, запись карты (lookup) и строки журнала, записанные этим вызовом\n"
     "  (--brief: только строки, которыми вызов завершился, и только заполненные\n"
     "  поля записи).\n"},
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
     "  вызовы, перезапуски и версии, перерывы связи (--json: одним объектом JSON;\n"
     "  --html ФАЙЛ: ещё и страница с хронологией по дням).\n"},
    {"help.redact",
     "  redact записывает копию журнала без токенов API и персональных данных гостей\n"
     "  (замены одинаковы для одинаковых значений) и сообщает, что заменено: за\n"
     "  пределы ресторана отправляйте эту копию, а не сам журнал.\n"},
    {"help.closing",
     "  --lang ru|en: язык этих текстов (без него: русский, если меню Windows\n"
     "  на русском, иначе английский); журналы, запросы и JSON не переводятся.\n"
     "  Код завершения: 0 выполнено (config: без предупреждений; check: сервер\n"
     "  ответил в формате JSON; replay: все повторяемые вызовы совпали),\n"
     "  1 предупреждения config, неудачный шаг check, расхождение в повторённом\n"
     "  вызове или DLL не загрузилась, 2 неверные аргументы, нечитаемый файл чека\n"
     "  или журнала, журнал без вызовов (summary) или копия, которая перезаписала\n"
     "  бы свой журнал (redact), 3 replay не смог начаться (нет свободного адреса).\n"},
    {"cli.list-and", "{list} и {last}"},
    {"cli.unknown-option", "неизвестный параметр {option}"},
    {"cli.unknown-command", "неизвестная команда {command}"},
    {"cli.folder-and-command", "укажите папку и команду"},
    {"cli.folder-empty", "имя папки пустое"},
    {"cli.option-of", "{option} указывается только с {commands}"},
    {"cli.lang-value", "после --lang укажите ru или en"},
    {"count.init", "у init нет других аргументов"},
    {"count.lookup", "для lookup укажите номер карты или телефона и файл чека"},
    {"count.transaction", "для transaction укажите один файл чека"},
    {"count.config", "для config укажите один файл чека"},
    {"count.check", "у check нет других аргументов (только --place КОД)"},
    {"count.replay", "для replay укажите один файл журнала"},
    {"count.summary", "для summary укажите один или несколько файлов журнала"},
    {"count.redact", "для redact укажите журнал и имя файла копии"},
    {"option.place-value", "после --place укажите код места обслуживания (целое число)"},
    {"option.call-value", "после --call укажите номер вызова (1, 2, ...)"},
    {"option.call-misplaced", "--call указывается только с replay"},
    {"option.html-value", "после --html укажите имя файла страницы"},
    {"error.card-number", "не 64-битное число: {word}"},
    {"error.check-file", "не удаётся прочитать файл чека {file}"},
    {"error.log-file", "не удаётся прочитать файл журнала {file}"},
    {"error.no-export", "в brisvane.dll нет экспортируемой функции {name}"},
    {"error.enter-folder", "не удаётся перейти в папку {folder} (ошибка {code})"},
    {"error.load-dll", "не удаётся загрузить {folder}\\brisvane.dll (ошибка {code})"},
    {"error.unexpected", "непредвиденный сбой"},

    // ---- lookup, transaction, init, record table ----

    // ---- config ----

    // ---- version, show ----

    // ---- check: steps, verdicts, advice ----

    // ---- replay ----

    // ---- summary: text and HTML ----

    // ---- redact ----
};

}  // namespace

extern const Catalog kRussianCatalog = {Language::Russian, "ru", kMessages, std::size(kMessages)};
