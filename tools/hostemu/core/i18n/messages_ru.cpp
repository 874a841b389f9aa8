// Тексты hostemu на русском. Ключи и параметры те же, что в остальных
// каталогах (это проверяют тесты); разделы по областям, в том же порядке.
#include <iterator>

#include "i18n/Messages.h"

namespace {

const Message kMessages[] = {
    // ---- common: usage, help, errors ----
    {"cli.usage-first", "вызов: hostemu {line}\n"},
    {"cli.usage-next", "       hostemu {line}\n"},
    {"usage.init", "[--dll ПУТЬ] [--brief] <папка> init"},
    {"usage.lookup", "[--dll ПУТЬ] [--brief] <папка> lookup <номер-карты-или-телефона> <чек.xml>"},
    {"usage.transaction", "[--dll ПУТЬ] [--brief] <папка> transaction <чек.xml>"},
    {"usage.config", "<папка> config <чек.xml>"},
    {"usage.check", "<папка> check [--place КОД]"},
    {"usage.replay", "[--dll ПУТЬ] <папка> replay <brisvane.log> [--call N]"},
    {"usage.summary", "summary <brisvane.log>... [--json] [--html ФАЙЛ]"},
    {"usage.redact", "redact <brisvane.log> <копия>"},
    {"usage.version", "[--dll ПУТЬ] <папка> version"},
    {"usage.show", "show <brisvane.log> [--call N]"},
    {"help.hostcall",
     "  Загружает <папка>\\brisvane.dll, сделав <папка> рабочей папкой, как это делает\n"
     "  кассовая программа, вызывает Init, GetCardInfoEx или TransactionsEx и выводит\n"
     "  результат, запись карты (lookup) и строки журнала, записанные этим вызовом\n"
     "  (--brief: только строки, которые завершают вызов, сообщают о сбое или\n"
     "  называют его причину, и только заполненные поля записи). Код завершения\n"
     "  говорит, сделан ли вызов; что вернула DLL, показывает выведенный результат.\n"
     "  --dll ПУТЬ загружает DLL из ПУТЬ (init, lookup, transaction,\n"
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
     "в папку не перейти, её DLL не загружается или в ней нет нужной функции; version: файл не "
     "читается, не является программой Windows или в нём нет ресурса версии. {bad}: неверные "
     "аргументы, нечитаемый файл чека или журнала, журнал без вызовов (replay, show, summary), "
     "--call N с номером, под которым нет повторяемого вызова (replay) или нет вызова (show), "
     "копия, которая перезаписала бы свой журнал (redact), страница или копия, которую не "
     "удаётся записать (summary, redact). {cannot}: replay не может начаться (нет временной "
     "папки, DLL из папки не загружается или в ней нет нужной функции, нет свободного адреса, "
     "мешает прокси)."},
    {"cli.list-and", "{list} и {last}"},
    {"cli.unknown-option", "неизвестный параметр {option}"},
    {"cli.unknown-command", "неизвестная команда {command}"},
    {"cli.folder-and-command", "укажите папку и команду"},
    {"cli.folder-empty", "имя папки пустое"},
    {"cli.option-of", "{option} указывается только с {commands}"},
    {"cli.lang-value", "после --lang укажите ru или en"},
    {"cli.dll-value", "после --dll укажите путь к brisvane.dll"},
    {"cli.dll-misplaced", "--dll указывается только с командами, которым нужна папка"},
    {"cli.dll-split",
     "{given} - не DLL: похоже, путь после --dll разорван на пробеле; путь с пробелами "
     "пишется в двойных кавычках: --dll \"{path}\""},
    {"cli.folder-split",
     "{word} - не команда: похоже, путь к папке разорван на пробеле; путь с пробелами "
     "пишется в двойных кавычках: \"{path}\""},
    {"cli.more-help", "hostemu --help: все команды, их параметры и коды завершения\n"},
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
    {"check-file.place", "  {path}: {problem}\n"},
    {"check-file.missing", "нет такого файла"},
    {"check-file.unreadable", "не читается"},
    {"check-file.not-xml", "не XML (чек начинается с «<»)"},
    {"error.log-file", "не удаётся прочитать файл журнала {file}"},
    {"error.no-export", "в {path} нет экспортируемой функции {name}"},
    {"error.enter-folder", "не удаётся перейти в папку {folder} (ошибка {code})"},
    {"dll.load-failed", "не удаётся загрузить {path} (ошибка {code})\n"},
    {"dll.load-failed-meaning", "не удаётся загрузить {path} (ошибка {code}: {meaning})\n"},
    {"dll.meaning-2", "файл не найден"},
    {"dll.meaning-3", "папка не найдена"},
    {"dll.meaning-5", "отказано в доступе"},
    {"dll.advice-5",
     "  Запустите hostemu от имени пользователя, которому можно читать папку DLL.\n"},
    {"dll.meaning-126", "не найдена DLL или DLL, которая ей нужна"},
    {"dll.advice-126",
     "  Если кассовая программа загружает brisvane.dll не из своей рабочей папки,\n"
     "  укажите DLL: hostemu --dll \"C:\\Путь к DLL\\brisvane.dll\" \"C:\\Рабочая папка\"\n"
     "  <команда> ... (путь с пробелами заключите в кавычки). Иначе скопируйте\n"
     "  brisvane.dll в эту папку.\n"},
    {"dll.meaning-127", "в этой Windows нет функции, которая нужна DLL"},
    {"dll.advice-127",
     "  Сообщите в поддержку, какая Windows установлена на кассе: эта сборка DLL\n"
     "  на ней работать не может.\n"},
    {"dll.meaning-193",
     "это не 32-битная DLL для Windows (64-битная сборка или повреждённый файл)"},
    {"dll.advice-193",
     "  Скопируйте brisvane.dll из папки выпуска заново, целым файлом: hostemu и\n"
     "  кассовая программа 32-битные и загружают только 32-битную DLL.\n"},
    {"dll.meaning-1114", "сбой DLL при запуске"},
    {"error.unexpected", "непредвиденный сбой"},

    // ---- lookup, transaction, init, record table ----
    {"call.init-returned", "Init вернула {result}\n"},
    {"call.lookup-answered", "GetCardInfoEx({card}) вернула {result} (ответ получен)\n"},
    {"call.lookup-failed", "GetCardInfoEx({card}) вернула {result} (ошибка)\n"},
    {"call.transaction-posted", "TransactionsEx вернула {result} (чек проведён)\n"},
    {"call.transaction-not-posted", "TransactionsEx вернула {result} (чек не проведён)\n"},
    {"call.log-entries", "--- записи журнала, сделанные этим вызовом ---\n"},
    {"call.closing-lines", "--- завершающие строки журнала этого вызова ---\n"},
    {"call.no-log", "(нет brisvane.log)\n"},
    {"record.heading", "--- запись карты ---\n"},
    {"record.flags", "признаки"},

    // ---- config ----
    {"config.warning", "ВНИМАНИЕ: {text}"},
    {"config.no-warnings", "Предупреждений нет.\n"},
    {"config.warnings-one", "{count} предупреждение.\n"},
    {"config.warnings-few", "{count} предупреждения.\n"},
    {"config.warnings-many", "{count} предупреждений.\n"},
    {"config.none", "(нет)"},
    {"config.conf-section", "conf.xml"},
    {"config.not-loaded",
     "conf.xml не загружается ({why}, байт {offset}): DLL не видит настроек, не находит токен "
     "и завершает с ошибкой каждый запрос по карте и каждую транзакцию (\"{line}\")"},
    {"config.utf16",
     "conf.xml сохранён в UTF-16 (\"Юникод\" в Блокноте): DLL его читает, но копию, которую "
     "Init записывает в brisvane.log, человеку не прочитать; сохраните файл в UTF-8"},
    {"config.wrong-top",
     "верхний элемент <{top}>, а не <Configuration> (регистр букв в именах важен): DLL не "
     "видит настроек, не находит токен и завершает с ошибкой каждый запрос по карте и каждую "
     "транзакцию"},
    {"config.no-scratch", "нет временной папки для чтения чека; о чеке ничего не сообщается"},
    {"config.service-section", "Сервер программы лояльности"},
    {"config.no-api-address",
     "нет ApiAddress: DLL подключается к пустому имени узла, и ни один запрос не дойдёт до "
     "сервера"},
    {"config.api-address-empty", "ApiAddress пуст: ни один запрос не дойдёт до сервера"},
    {"config.api-address-blanks",
     "в ApiAddress есть пробелы или переводы строк: DLL берёт текст как есть, не обрезая, и "
     "имя узла не находится; напишите <ApiAddress>узел</ApiAddress> в одну строку"},
    {"config.api-address-not-bare",
     "в ApiAddress должно быть только имя узла: DLL не выделяет из него схему, порт или путь "
     "(порт следует из SSL)"},
    {"config.ssl-https",
     "SSL         \"true\" -> HTTPS на порту 443 (Windows должна доверять сертификату сервера, "
     "и он должен быть выдан на это имя узла)"},
    {"config.ssl-http", "SSL         {value} -> обычный HTTP на порту 80"},
    {"config.ssl-meant-true",
     "SSL записан как {value}: HTTPS включает только точный текст \"true\"; DLL работает по "
     "обычному HTTP на порту 80"},
    {"config.requests-go",
     "запросы идут на {root}/v1/GuestInfo/<токен> (а также GetDiscount, CloseOrder, "
     "ReturnOrder)"},
    {"config.places-section", "Места обслуживания (в порядке следования в файле)"},
    {"config.place-name", "место №{number}"},
    {"config.place-number", "№{number}"},
    {"config.empty-token",
     "у места {place} пустой LoyltyApiToken: чек категории заказа {code} получает пустой токен, "
     "и вызов завершается с ошибкой (\"{lookup}\" / \"{posting}\"); место по умолчанию для него "
     "не используется"},
    {"config.missing-token",
     "у места {place} нет LoyltyApiToken: чек категории заказа {code} получает пустой токен, и "
     "вызов завершается с ошибкой (\"{lookup}\" / \"{posting}\"); место по умолчанию для него "
     "не используется"},
    {"config.no-places",
     "нет ни одного PlaceOfService: DLL не находит токен ни для одного чека (\"{line}\")"},
    {"config.place-line", "{place}  PlaceCode {code} читается как {value}  токен {token}"},
    {"config.place-fallback", "  Default=\"true\": место по умолчанию"},
    {"config.no-place-code", "у места {place} нет PlaceCode: оно считается местом с кодом 0"},
    {"config.place-code-reads",
     "{place}: PlaceCode {code} читается как {value} (DLL читает начальные пробелы, знак и "
     "цифры, а текст без цифр как 0)"},
    {"config.token-blanks",
     "{place}: в токене есть пробелы или переводы строк; они попадают в путь каждого запроса"},
    {"config.default-not-true",
     "{place}: Default={value} не делает место местом по умолчанию; это делает только точный "
     "текст \"true\""},
    {"config.same-code",
     "у места {place} тот же код {code}, что у места {earlier}: используется только первое"},
    {"config.many-fallbacks",
     "Default=\"true\" отмечены несколько мест ({list}, всего {count}): местом по умолчанию "
     "будет только последнее, {last}"},
    {"config.no-fallback",
     "ни одно место не отмечено Default=\"true\": чек, категория заказа которого не совпадает "
     "ни с одним местом, токена не получает"},
    {"config.token-section", "Токен для этого чека"},
    {"config.no-order-cat",
     "в CHECKDATA нет order_cat: DLL записывает в журнал \"{line}\", и вызов завершается с "
     "ошибкой; место по умолчанию не помогает"},
    {"config.order-category", "категория заказа {category} (CHECKDATA order_cat {value})"},
    {"config.order-category-none", "категория заказа -1 (в чеке нет CHECKDATA)"},
    {"config.cannot-choose", "DLL не может выбрать токен: {why}"},
    {"config.also-matches",
     "у места {place} тоже код {category}, но оно никогда не используется: выбирается первое "
     "совпавшее место"},
    {"config.matches",
     "совпадает {place}: первое место, PlaceCode которого читается как {category}"},
    {"config.matches-over-fallback",
     "совпадает {place}: первое место, PlaceCode которого читается как {category} (совпавшее "
     "место важнее места по умолчанию)"},
    {"config.match-empty-token",
     "этот чек совпадает с местом {place}, у которого пустой токен: DLL открывает соединение, "
     "затем завершает вызов с ошибкой из-за пустого токена; место по умолчанию его не заменяет"},
    {"config.fallback-used",
     "ни у одного места нет кода {category}: используется {place}, место по умолчанию "
     "(последнее из отмеченных Default=\"true\")"},
    {"config.no-match",
     "ни одно место обслуживания не совпадает с категорией заказа {category}, и ни одно не "
     "отмечено Default=\"true\": DLL записывает в журнал \"{line}\", и вызов завершается с "
     "результатом 1"},
    {"config.token", "токен {token}"},
    {"shown.characters-one", "({count} символ)"},
    {"shown.characters-few", "({count} символа)"},
    {"shown.characters-many", "({count} символов)"},
    {"config.accounts-section", "Бонусные и депозитные счета"},
    {"config.slot", "субсчёт {number} ({slot})"},
    {"config.no-slot", "никакое поле записи"},
    {"config.bonus-name", "BonusAccount №{number}"},
    {"config.deposit-name", "DepositAccount №{number}"},
    {"config.reads-as", "{value} читается как {number}"},
    {"config.no-currency", "у {name} нет CurrencyCode: он считается типом оплаты 0"},
    {"config.no-bonus-account",
     "нет BonusAccount: ни одна оплата не считается оплатой бонусами, и MaxBonus нигде не "
     "показывается"},
    {"config.bonus-line",
     "{name}: оплаты с CurrencyCode {code} считаются оплатой бонусами; MaxBonus -> {slot}"},
    {"config.bonus-no-slot",
     "{name}: CardSubAccount {value}, вне 1..8: доступные бонусы не записываются ни в одно поле"},
    {"config.no-deposit-account",
     "нет DepositAccount: ни одна оплата не считается оплатой с депозита, и MaxDeposit нигде "
     "не показывается"},
    {"config.deposit-later-line",
     "{name}: оплаты с CurrencyCode {code} считаются оплатой с депозита; его CardSubAccount не "
     "читается (читается только у первого DepositAccount)"},
    {"config.deposit-line",
     "{name}: оплаты с CurrencyCode {code} считаются оплатой с депозита; MaxDeposit -> {slot}"},
    {"config.deposit-no-slot",
     "{name}: CardSubAccount {value}, вне 1..8: доступный депозит не записывается ни в одно "
     "поле"},
    {"config.slot-shared",
     "в субсчёт {number} пишутся и MaxBonus ({bonus}), и MaxDeposit: депозит записывается "
     "последним и скрывает бонусы"},
    {"config.slot-one-note",
     "примечание: субсчёт 1 (Access_amount) после запроса только гостя показывает ещё и "
     "баланс бонусов"},
    {"config.check-section", "Чек"},
    {"config.lookup-guest", "запрос по карте спрашивает только гостя (GuestInfo)"},
    {"config.lookup-guest-discount",
     "запрос по карте спрашивает гостя, затем скидку на заказ (GuestInfo, GetDiscount)"},
    {"config.lookup-bonus-payment",
     "запрос по карте спрашивает скидку для счёта оплаты бонусами (GetDiscount)"},
    {"config.lookup-nothing",
     "запрос по карте ничего не спрашивает у сервера и возвращает 0, только сбросив признаки"},
    {"config.posting-close", "транзакция закрывает заказ (GetDiscount, CloseOrder)"},
    {"config.posting-return", "транзакция возвращает заказ (ReturnOrder)"},
    {"config.posting-nothing", "транзакция ничего не отправляет и завершается с результатом 1"},
    {"config.reader-logged", "чтение чека записало в журнал: {line}"},
    {"config.no-check",
     "верхний элемент CHECK не прочитан: DLL не может прочитать chmode и завершает вызов с "
     "ошибкой (\"{lookup}\" / \"{posting}\")"},
    {"config.no-chmode",
     "в CHECK нет chmode: DLL завершает вызов с ошибкой (\"{lookup}\" / \"{posting}\")"},
    {"config.mode", "режим работы (CHECK chmode) {mode}: {lookup}; {posting}"},
    {"config.role-both", "оплата бонусами и оплата с депозита"},
    {"config.role-deposit", "оплата с депозита"},
    {"config.role-neither", "ни оплата бонусами, ни оплата с депозита"},
    {"config.role-bonus-guest", "оплата бонусами, которая называет гостя"},
    {"config.role-bonus-no-guest",
     "оплата бонусами, которая не называет гостя (нет account, account \"0\" или не выбранный "
     "интерфейс)"},
    {"config.payment-name", "оплата №{number} (код {code}{account})"},
    {"config.payment-account", ", account {value}"},
    {"config.payment-role", "{name}: {role}"},
    {"config.payment-no-accounts",
     "{name} идёт со счёта, но в conf.xml нет BonusAccount и DepositAccount: DLL не считает "
     "ни одну оплату оплатой бонусами или с депозита"},
    {"config.payment-unknown-code",
     "{name} идёт со счёта, но ни у одного BonusAccount или DepositAccount нет CurrencyCode "
     "{code}: DLL считает её обычной оплатой (если это тип оплаты бонусами или с депозита в "
     "кассовой программе, впишите {code} в CurrencyCode этого счёта)"},
    {"config.no-bonus-payment-guest",
     "ни одна оплата бонусами выбранного интерфейса не называет гостя (закрытие заказа тогда "
     "ищет его в CHECKDISCOUNTS, затем спрашивает сервер о каждом владельце карты)"},
    {"config.bonus-payment-guest",
     "оплата бонусами выбранного интерфейса называет гостя: account {value}"},
    {"config.payments-unreadable", "оплаты чека не читаются: {why}"},
    {"config.refused-transaction",
     "транзакция с этим чеком отклоняется, прежде чем что-либо будет отправлено; DLL пишет "
     "в журнал {lines} и возвращает 1"},
    {"config.refused-lookup",
     "запрос карты с этим чеком не проходит ещё до запроса скидки; DLL пишет в журнал {lines} "
     "и возвращает 1"},
    {"config.refused-line", "\"{line}\""},
    {"config.refused-then", ", затем "},
    {"config.init-result", "результат initCheckXml: {result}"},
    {"config.checkdata-found", "CHECKDATA найден"},
    {"config.no-checkdata",
     "нет верхнего CHECKDATA: категория заказа считается равной -1, а скидка запрашивается "
     "для пустого заказа"},
    {"config.no-interfaces",
     "нет блока INTERFACES: ни одна оплата или скидка чека не может назвать гостя"},
    {"config.interface", "выбранный интерфейс {value}"},
    {"config.holders", "владельцы карт: {list}"},
    {"config.holders-none", "нет"},

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
    {"check.local-time", "{time}, местное время"},
    {"check.local-time-short", "{time} (местное время)"},
    {"check.title", "Проверка связи для папки {folder}"},
    {"check.failed", "ОШИБКА: "},
    {"check.step-time", " ({ms} мс)"},
    {"check.warning", "ВНИМАНИЕ: {text}"},
    {"check.verdict-failed", "Итог: ОШИБКА: {advice}"},
    {"check.verdict-ok", "Итог: ОК: {verdict}"},
    {"check.warnings-above-one", " (предупреждений выше: {count})"},
    {"check.warnings-above", " (предупреждений выше: {count})"},
    {"check.none", "нет"},
    {"check.on", "вкл."},
    {"check.off", "выкл."},
    {"check.not-set", "не задано"},
    {"check.not-available", "недоступно"},
    {"check.not-available-here", "в этой Windows недоступно"},
    {"check.not-used", "не используется (обычный HTTP)"},
    {"check.conf-missing", "нет файла conf.xml: {path}"},
    {"check.conf-not-xml", "conf.xml не читается как XML ({why}, байт {offset})"},
    {"check.conf-no-configuration", "в conf.xml нет элемента <Configuration>"},
    {"check.label-service", "сервер"},
    {"check.service-bad",
     "ApiAddress {address} пуст или содержит пробелы или переводы строк: ни "
     "один запрос не дойдёт до сервера программы лояльности"},
    {"check.service", "ApiAddress {address}, SSL {ssl}: {url}"},
    {"check.service-plain",
     "ApiAddress {address}, SSL {ssl}: {url} (TLS включает только SSL "
     "«true»)"},
    {"check.label-token", "токен"},
    {"check.token-no-place",
     "{number}, как для чека без CHECKDATA (место обслуживания выбирает "
     "--place КОД)"},
    {"check.token-none",
     "ни у одного места обслуживания нет PlaceCode {number} и ни одно не "
     "помечено Default=«true»: DLL не найдёт токен"},
    {"check.token-way-on",
     "чек с CHECKDATA всё равно найдёт токен своего места обслуживания: "
     "проверьте место командой hostemu \"{folder}\" check --place КОД, где "
     "КОД — один из кодов мест: {codes}"},
    {"check.token-no-places",
     "в conf.xml нет PlaceOfService: добавьте по одному на каждое место "
     "обслуживания, с его PlaceCode и LoyltyApiToken"},
    {"check.token-place", "места обслуживания с PlaceCode {code}"},
    {"check.token-place-default", "места по умолчанию (PlaceCode {code})"},
    {"check.dll-logs", "DLL пишет в журнал «{line}»"},
    {"check.dll-ends", "DLL пишет в журнал «{line}», и запрос по карте возвращает 1"},
    {"check.token-empty",
     "LoyltyApiToken, выбранный для категории заказа {number} (токен места "
     "обслуживания или запасной), пуст: DLL не выполнит ни одного вызова"},
    {"check.token", "{token} для категории заказа {category}"},
    {"check.label-name", "имя"},
    {"check.name-unresolved", "не удаётся найти адрес {name}: {why}"},
    {"check.name-unknown",
     "имя {name} неизвестно этой кассе: проверьте ApiAddress, DNS-сервер "
     "кассы или её файл hosts"},
    {"check.name-proxy-unknown",
     "имя прокси-сервера {name} из свойств обозревателя этой учётной записи "
     "неизвестно этой кассе"},
    {"check.tcp-failed", "нет соединения с {host}, порт {port}: {why}"},
    {"check.tcp-nothing",
     "на {host}, порт {port}, никто не принимает соединения: сервер "
     "программы лояльности не работает, порт неверен (SSL) или кассу не "
     "пропускает брандмауэр"},
    {"check.tcp-proxy",
     "прокси-сервер {proxy} из свойств обозревателя этой учётной записи не "
     "принимает соединения"},
    {"check.tcp-proxy-or-bypass",
     "прокси-сервер {proxy} из свойств обозревателя этой учётной записи не "
     "принимает соединения: запустите его или {bypass}"},
    {"check.tcp", "соединение с {address}, порт {port}"},
    {"check.no-scratch", "нет временной папки для журнала обмена"},
    {"check.wininet-cannot-open", "не удаётся открыть WinInet: {why}"},
    {"check.wininet-cannot-open-advice", "на этой кассе не удаётся открыть WinInet"},
    {"check.label-proxy", "прокси"},
    {"check.proxy-unknown",
     "не читается из свойств обозревателя; следующие шаги соединяются "
     "напрямую"},
    {"check.proxy-none",
     "нет: свойства обозревателя этой учётной записи Windows задают прямое "
     "соединение"},
    {"check.proxy-bypassed",
     "{proxy}, но {host} в списке исключений ({bypass}): WinInet "
     "соединяется напрямую"},
    {"check.proxy-through", "{proxy} (исключения: {bypass}): WinInet соединяется через {via}"},
    {"check.proxy-direct-anyway",
     "{proxy} (исключения: {bypass}): запрос к {host} всё равно пошёл "
     "напрямую"},
    {"check.proxy-bypass-ignored",
     "{proxy}; список исключений ({bypass}) как будто включает {host} "
     "({entry}), но запрос пошёл через {via}: исключение не подействовало "
     "на WinInet"},
    {"check.route-proxy", "WinInet искал адрес {name}: запрос пошёл на прокси-сервер"},
    {"check.route-direct", "WinInet искал адрес {name}: запрос пошёл прямо на сервер лояльности"},
    {"check.bypass-add",
     "добавьте {host} в исключения прокси-сервера («Свойства обозревателя» → "
     "«Подключения» → «Настройка сети» → «Дополнительно»): сначала точное "
     "имя; шаблон вроде {pattern} тоже подходит — Windows описывает «*» в "
     "исключениях"},
    {"check.bypass-ignored",
     "исключение {entry} уже есть, но на WinInet не подействовало: добавьте "
     "в исключения прокси-сервера точное имя {host} («Свойства обозревателя» "
     "→ «Подключения» → «Настройка сети» → «Дополнительно»)"},
    {"check.bypass-exact-ignored",
     "{host} уже есть в исключениях прокси-сервера, но WinInet его не учёл: "
     "обратитесь к тому, кто настраивает прокси на этой кассе (настройки "
     "может переопределять политика или автоматическая настройка)"},
    {"check.advice-407-bypass",
     "прокси-сервер требует вход; в DLL негде указать учётные данные: "
     "пропустите кассу через прокси-сервер по её адресу или {bypass}"},
    {"check.proxy-auto-on",
     "включена автоматическая настройка прокси ({how}): WinInet пробует её "
     "раньше настройки выше"},
    {"check.proxy-auto-detect", "автоматическое определение параметров"},
    {"check.proxy-auto-script", "сценарий {url}"},
    {"check.tls", "соединение установлено, сертификату доверяют"},
    {"check.tls-certificate", "сертификат {subject}, выдан {issuer}, действует с {from} по {to}"},
    {"check.tls-past", "кроме того: {why}"},
    {"check.tls-none", "нет TLS-соединения с {host}: {why}"},
    {"check.guestinfo-timeout", "нет ответа за {limit} с"},
    {"check.guestinfo-timeout-advice",
     "сервер программы лояльности (или шлюз перед ним) не отвечает за "
     "{limit} с"},
    {"check.guestinfo-closed", "соединение закрыто без ответа"},
    {"check.guestinfo-closed-advice",
     "на запрос нет ответа: после запроса соединение закрывает сервер "
     "программы лояльности, брандмауэр или прокси-сервер на пути"},
    {"check.guestinfo-failed", "запрос не выполнен: {why}"},
    {"check.guestinfo-empty", "код HTTP {status} с пустым телом"},
    {"check.guestinfo-empty-advice", "ответ сервера программы лояльности пуст (код HTTP {status})"},
    {"check.guestinfo-bytes", "байт: {count}"},
    {"check.guestinfo-json-status", "JSON с \"Status\""},
    {"check.guestinfo-json-no-status", "JSON без \"Status\""},
    {"check.guestinfo-not-json", "не JSON"},
    {"check.guestinfo-status-not-whole", ", но не целое число"},
    {"check.guestinfo-reply", "ответ: {reply}"},
    {"check.guestinfo-ok",
     "сервер программы лояльности ответил в формате JSON (код HTTP {status})"},
    {"check.guestinfo-came", "и {what}"},
    {"check.guestinfo-came-not-json", "ответ не в формате JSON"},
    {"check.guestinfo-came-no-status",
     "JSON, но не ответ сервера программы лояльности (нет \"Status\")"},
    {"check.guestinfo-came-not-whole", "JSON, в котором \"Status\" не целое число"},
    {"check.guestinfo-came-json", "JSON сервера лояльности, \"Status\" {status}"},
    {"check.advice-12045",
     "эта Windows не доверяет издателю сертификата: установите обновления "
     "корневых сертификатов (или корневой сертификат выдавшего центра "
     "сертификации)"},
    {"check.advice-12038",
     "сертификат выдан на другое имя узла: в ApiAddress должно стоять имя, "
     "указанное в сертификате"},
    {"check.advice-12037",
     "сегодняшняя дата вне срока действия сертификата: проверьте часы "
     "кассы, сейчас на них {now}"},
    {"check.advice-12057",
     "проверка отзыва не удалась: касса не может связаться с серверами "
     "отзыва центра сертификации (CRL/OCSP); пропустите её к ним через "
     "брандмауэр"},
    {"check.advice-12157",
     "TLS-рукопожатие не удалось: порт 443 сервера лояльности не предлагает "
     "TLS, с которым может работать эта Windows: нет общей версии TLS или "
     "шифра (этой Windows нужен TLS 1.2: обновление TLS 1.1/1.2 для систем "
     "на основе XP, включённый TLS 1.2 в Windows 7; сервер только с TLS 1.3 "
     "недоступен Windows до Windows 11), на порту 443 работает обычный HTTP "
     "без TLS или сервер требует сертификат клиента: узнайте у оператора "
     "сервера лояльности, что работает на порту 443"},
    {"check.advice-407",
     "прокси-сервер требует вход; в DLL негде указать учётные данные: "
     "пропустите кассу через прокси-сервер по её адресу или исключите узел "
     "сервера программы лояльности из прокси"},
    {"check.advice-gateway",
     "вместо сервера программы лояльности ответил шлюз перед ним: сервер за "
     "шлюзом не работает или отвечает медленно"},
    {"check.advice-404",
     "адрес отвечает, но не знает такого запроса: сверьте ApiAddress, SSL "
     "(порт 80 или 443) и путь {path} с оператором сервера лояльности"},
    {"check.advice-token",
     "прежде всего проверьте LoyltyApiToken {place}: какой токен должен "
     "быть у этой кассы, знает оператор сервера лояльности; затем — "
     "пропускает ли кассу брандмауэр или шлюз перед сервером"},
    {"check.advice-400",
     "сервер программы лояльности или шлюз не принял запрос: проверьте "
     "ApiAddress и SSL и обратитесь к оператору программы лояльности"},
    {"check.advice-500",
     "на сервере программы лояльности запрос завершился ошибкой: обратитесь "
     "к оператору программы лояльности"},
    {"check.days", "{count} дн."},
    {"check.hours", "{count} ч"},
    {"check.minutes", "{count} мин"},
    {"check.seconds", "{count} с"},
    {"check.label-windows", "Windows"},
    {"check.windows-unknown", "версия в этой Windows недоступна"},
    {"check.windows", "{name} ({version}, сборка {build}{pack}), "},
    {"check.windows-bits-unknown", "разрядность в этой Windows недоступна"},
    {"check.windows-64",
     "64-разрядная Windows (hostemu и DLL работают как 32-разрядные "
     "программы)"},
    {"check.windows-32", "32-разрядная Windows"},
    {"check.windows-too-old", "DLL нужна Windows XP с пакетом обновления 3 или новее"},
    {"check.label-account", "учётная запись"},
    {"check.account-user", "пользователь {user}"},
    {"check.account-session", ", сеанс {session}"},
    {"check.account-station", ", оконная станция {station}"},
    {"check.account-service",
     "проверка запущена {where}{desktop}: WinInet не поддерживается в "
     "службах; кассовая программа должна работать в сеансе пользователя"},
    {"check.account-session-0", "в сеансе 0, где работают службы"},
    {"check.account-background", "как служба или в фоне"},
    {"check.account-no-desktop", ", без интерактивного рабочего стола"},
    {"check.account-profile",
     "WinInet берёт настройки прокси и TLS из профиля этой учётной записи: "
     "запускайте проверку от той учётной записи Windows, от которой "
     "работает кассовая программа"},
    {"check.auto-unavailable", "что выбирает автоматическая настройка: в этой Windows недоступно"},
    {"check.auto-nothing",
     "автоматическая настройка ничего не выбирает для {url}: {why}{time}; "
     "WinInet возвращается к настройке выше"},
    {"check.auto-direct",
     "автоматическая настройка выбирает DIRECT для {url}{time}: WinInet "
     "соединяется напрямую"},
    {"check.auto-proxy",
     "автоматическая настройка выбирает {proxy} для {url}{time}: WinInet "
     "соединяется через {via}"},
    {"check.where-machine-policy", "политики компьютера"},
    {"check.where-account-policy", "политики этой учётной записи"},
    {"check.where-account", "свойств обозревателя этой учётной записи"},
    {"check.where-machine", "значения по умолчанию компьютера"},
    {"check.tls12-left-out",
     "SecureProtocols из {where} ({value}) не включает TLS 1.2: отметьте "
     "«Использовать TLS 1.2» («Свойства обозревателя» → «Дополнительно»)"},
    {"check.tls12-by-policy",
     " (значение задаёт политика: обратитесь к администратору политик "
     "домена)"},
    {"check.tls12-schannel-off",
     "в ключе клиента TLS 1.2 SCHANNEL Enabled=0: TLS 1.2 выключен для всех "
     "программ; удалите это значение или задайте 1"},
    {"check.tls12-schannel-on",
     "ключ клиента TLS 1.2 SCHANNEL включён, и SecureProtocols включает TLS "
     "1.2"},
    {"check.tls12-old-windows",
     "в этой Windows нет собственного TLS 1.2: нужны обновление TLS 1.1/1.2 "
     "для её выпуска, включённый ключ клиента TLS 1.2 SCHANNEL и отметка "
     "«Использовать TLS 1.2»"},
    {"check.tls12-set", "SecureProtocols из {where} включает TLS 1.2"},
    {"check.tls12-default", "SecureProtocols не задан: значение по умолчанию включает TLS 1.2"},
    {"check.tls12-not-known",
     "SecureProtocols не задан: TLS 1.2 включён по умолчанию только начиная "
     "с Internet Explorer 11; для верности отметьте «Использовать TLS 1.2» "
     "(«Свойства обозревателя» → «Дополнительно»)"},
    {"check.label-options", "свойства обозревателя"},
    {"check.options",
     "«Работать автономно» {offline}, автоматическое определение {detect}, "
     "сценарий настройки {script}; TLS 1.2 {tls}"},
    {"check.tls12-available", "доступен WinInet"},
    {"check.tls12-not-available", "НЕ доступен WinInet"},
    {"check.tls12-perhaps", "возможно, не доступен WinInet"},
    {"check.options-protocols",
     "SecureProtocols: политика компьютера {machinePolicy}, политика "
     "учётной записи {accountPolicy}, учётная запись {account}, по "
     "умолчанию для компьютера {machine}"},
    {"check.options-schannel",
     "ключи клиента SCHANNEL: TLS 1.1 Enabled {tls11}, DisabledByDefault "
     "{tls11Default}; TLS 1.2 Enabled {tls12}, DisabledByDefault "
     "{tls12Default}"},
    {"check.options-offline",
     "для этой учётной записи включён режим «Работать автономно»: WinInet "
     "отклоняет каждый запрос; снимите отметку (Internet Explorer, меню "
     "«Файл»)"},
    {"check.options-auto-proxy",
     "включена автоматическая настройка прокси: первые запросы после "
     "каждого запуска могут ждать много секунд, пока WinInet ищет "
     "прокси-сервер; если кассе прокси не нужен, снимите отметки "
     "«Автоматическое определение параметров» и «Использовать сценарий "
     "автоматической настройки» («Свойства обозревателя» → «Подключения» → "
     "«Настройка сети»)"},
    {"check.options-no-tls12", "SSL «true», но TLS 1.2 недоступен WinInet: {why}"},
    {"check.options-maybe-tls12", "SSL «true», а TLS 1.2, возможно, выключен: {why}"},
    {"check.label-clock", "часы"},
    {"check.clock-no-date",
     "; в ответе сервера программы лояльности нет заголовка Date для "
     "сравнения"},
    {"check.clock-bad-date", "; заголовок Date ответа «{date}» не читается"},
    {"check.clock", "; Date сервера программы лояльности {date}: разница {difference} с{which}"},
    {"check.clock-behind", " (эти часы отстают)"},
    {"check.clock-ahead", " (эти часы спешат)"},
    {"check.clock-warn-behind",
     "эти часы отстают от часов сервера программы лояльности на {duration}: "
     "при неверных часах сертификаты и подписанные токены не проходят "
     "проверку; установите на кассе верные дату, время и часовой пояс (или "
     "сервер времени)"},
    {"check.clock-warn-ahead",
     "эти часы спешат относительно часов сервера программы лояльности на "
     "{duration}: при неверных часах сертификаты и подписанные токены не "
     "проходят проверку; установите на кассе верные дату, время и часовой "
     "пояс (или сервер времени)"},
    {"check.label-certificate", "сертификат"},
    {"check.certificate-none", "не прочитан: {why} (причину покажет шаг TLS ниже)"},
    {"check.certificate", "{subject}, выдан {issuer}"},
    {"check.certificate-valid", "действует с {from} по {to}"},
    {"check.certificate-left", " (осталось {duration})"},
    {"check.certificate-top", "вершина цепочки: {top}{count}"},
    {"check.certificate-count", " (сертификатов: {count})"},
    {"check.certificate-ended",
     "срок действия сертификата истёк {until}: все запросы будут "
     "отклоняться, пока сервер программы лояльности не обновит сертификат "
     "(или часы кассы неверны)"},
    {"check.certificate-ends",
     "срок действия сертификата истекает через {duration}: сервер программы "
     "лояльности должен обновить его до {until}, иначе с этого момента все "
     "запросы будут отклоняться"},
    {"check.certificate-not-yet", "сертификат действует только с {from}: проверьте часы кассы"},
    {"check.label-revocation", "отзыв"},
    {"check.revocation-no-certificate", "сертификат не прочитан"},
    {"check.revocation-unavailable", "адреса в этой Windows недоступны"},
    {"check.revocation-none", "не указаны"},
    {"check.revocation-not-tried", "не проверялся (не адрес http://)"},
    {"check.revocation-answers", "отвечает (код HTTP {status}, {ms} мс)"},
    {"check.revocation-no-answer", "нет ответа: {why} ({ms} мс)"},
    {"check.revocation-warning",
     "сервер {kind} {url} не отвечает этой кассе: Windows может отклонять "
     "каждый запрос HTTPS с ошибкой 12057; откройте кассе доступ к нему по "
     "HTTP (брандмауэр, прокси)"},
    {"check.revocation-count-one", "адресов: {count}, отвечают: {answering}"},
    {"check.revocation-count", "адресов: {count}, отвечают: {answering}"},

    // ---- replay ----
    {"replay.call", "вызов {number}  {export}"},
    {"replay.unknown-export", "(неизвестно)"},
    {"replay.result", "{call}  результат {result}"},
    {"replay.same", "{line}: совпадает\n"},
    {"replay.differs", "{line}: РАСХОДИТСЯ: {detail}\n"},
    {"replay.same-but-probe",
     "{line}: совпадает до проверки связи с интернетом, которая на этой машине прошла иначе "
     "(расхождением не считается)\n"},
    {"replay.result-differs", "результат {result}, в журнале {recorded}"},
    {"replay.entry-differs", "запись журнала {number} этого вызова отличается:"},
    {"replay.entry-recorded", "  в журнале   {entry}"},
    {"replay.entry-replayed", "  при повторе {entry}"},
    {"replay.no-entry", "(записи нет)"},
    {"replay.request-path-differs",
     "запрос {number}: отправлен на {path}, в журнале — на {recorded}"},
    {"replay.request-body-differs",
     "запрос {number}: {path} с телом {body}, в журнале — {recorded}"},
    {"replay.request-extra",
     "подставной сервер получил запросов: {received}, в журнале их {shown}; первый лишний: "
     "{path} {body}"},
    {"replay.request-missing",
     "подставной сервер получил запросов: {received}, в журнале их {shown}; первый недостающий: "
     "{path} {body}"},
    {"replay.not-replayable", "{call}: повторить нельзя: {why}\n"},
    {"replay.log-starts-within", "журнал начинается посреди этого вызова"},
    {"replay.no-input-buffer", "в журнале нет входного буфера этого вызова"},
    {"replay.log-ends-within",
     "журнал обрывается посреди этого вызова (или в нём потеряны строки, которыми вызов "
     "завершился)"},
    {"replay.no-config", "нет conf.xml: в журнале нет его копии из Init, и в папке его тоже нет"},
    {"replay.body-names-no-card", "в теле запроса о госте нет номера карты: {body}"},
    {"replay.reply-follows-other", "за запросом к {request} следует ответ на {path}"},
    {"replay.request-fate-unknown", "по журналу не видно, чем закончился запрос {number} ({path})"},
    {"replay.config-zero-bytes",
     "в conf.xml есть нулевые байты: его ApiAddress нельзя направить на сервер повтора"},
    {"replay.config-not-rewritten", "не удаётся переписать ApiAddress или SSL в conf.xml"},
    {"replay.config-not-pointed", "ApiAddress в conf.xml не удаётся направить на сервер повтора"},
    {"replay.cannot-write", "не удаётся записать {file}"},
    {"replay.waits",
     "{call}: из-за собственных пауз и ожиданий DLL этот вызов займёт около {seconds} с ...\n"},
    {"replay.no-export", "в {path} нет экспортируемой функции {name}"},
    {"replay.replaying-one",
     "Повтор {file} ({count} вызов) через {dll}; записанные ответы сервера программы лояльности "
     "отдаются с http://{address}:80\n"},
    {"replay.replaying-few",
     "Повтор {file} ({count} вызова) через {dll}; записанные ответы сервера программы лояльности "
     "отдаются с http://{address}:80\n"},
    {"replay.replaying-many",
     "Повтор {file} ({count} вызовов) через {dll}; записанные ответы сервера программы "
     "лояльности отдаются с http://{address}:80\n"},
    {"replay.tally-one",
     "{count} вызов: совпадают — {same}, расходятся — {differ}, повторить нельзя — "
     "{unreplayable}"},
    {"replay.tally-few",
     "{count} вызова: совпадают — {same}, расходятся — {differ}, повторить нельзя — "
     "{unreplayable}"},
    {"replay.tally-many",
     "{count} вызовов: совпадают — {same}, расходятся — {differ}, повторить нельзя — "
     "{unreplayable}"},
    {"replay.tally-probe", ", совпадают, кроме проверки связи с интернетом, — {count}"},
    {"replay.nothing-to-replay", "в {file} нечего повторять: {why}"},
    {"replay.file-empty", "файл пуст"},
    {"replay.file-utf16",
     "файл — копия журнала в UTF-16 (редактор сохранил его заново в кодировке «Юникод»); для "
     "replay нужен brisvane.log в том виде, в каком его записала касса"},
    {"replay.no-entries", "в файле нет ни одной записи brisvane.log"},
    {"replay.unreadable-stamps",
     "его строки похожи на записи brisvane.log, но их отметки времени (например, «[{stamp}]») "
     "записаны в виде, который hostemu не читает (MM-DD-YYYY с H:MM:SS или HH:MM:SS, с AM/PM или "
     "без)"},
    {"replay.no-such-call-one", "в журнале {count} вызов; вызова {number} в нём нет"},
    {"replay.no-such-call-few", "в журнале {count} вызова; вызова {number} в нём нет"},
    {"replay.no-such-call-many", "в журнале {count} вызовов; вызова {number} в нём нет"},
    {"replay.no-scratch-folder", "не удаётся создать временную папку в %TEMP%"},
    {"replay.nothing-can-run", "повторить ничего нельзя"},
    {"replay.not-loopback", "это не петлевой адрес: {address}"},
    {"replay.no-server-thread", "не удаётся запустить поток сервера"},
    {"replay.no-free-address",
     "нет свободного порта 80 ни на {address}, ни на следующих за ним адресах (до 15, в пределах "
     "127.0.0.0/8)"},
    {"replay.proxy-set",
     "по «Свойствам обозревателя» этой учётной записи запрос к http://{address}/ пошёл через "
     "прокси-сервер {proxy}: запрос, отправленный так же, как его отправляет DLL, не дошёл до "
     "собственного сервера повтора{fix}"},
    {"replay.proxy-in-the-way",
     "запрос к http://{address}/, отправленный так же, как его отправляет DLL, не дошёл до "
     "собственного сервера повтора: мешает прокси-сервер (возможно, выбранный автоматической "
     "настройкой){fix}"},
    {"replay.proxy-fix", "; {advice}, и запустите replay снова"},

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
    {"summary.per-day-title", "Вызовы, неудачные вызовы и неудачные обмены по дням"},
    {"summary.per-day-label", "вызовы, неудачные вызовы и неудачные обмены по дням, {from} — {to}"},
    {"summary.per-hour-label", "вызовы, неудачные вызовы и неудачные обмены по часам за {day}"},
    {"summary.hour", "{from}:00–{to}:00"},
    {"summary.legend-calls", "вызовы"},
    {"summary.legend-calls-per-hour", "вызовы за час"},
    {"summary.legend-outage", "перебой связи"},
    {"summary.shared-title",
     "Перебои, замеченные сразу на нескольких кассах (со стороны сервиса или сети): {count}"},
    {"summary.shared-outage", "{from} — {to}: на {count} кассах ({logs})"},
    {"summary.own-outages", "Перебои только на одной кассе (её собственные): {count}"},
    {"summary.head-tills", "Касс"},
    {"summary.head-logs", "Журналы"},
    {"summary.failed-calls.one", "{n} неудачный вызов"},
    {"summary.failed-calls.few", "{n} неудачных вызова"},
    {"summary.failed-calls.many", "{n} неудачных вызовов"},
    {"summary.per-export", "{export}: {calls}, {failed}"},
    {"summary.legend-failed-calls", "неудачные вызовы (результат не 0)"},
    {"summary.legend-failed-exchanges", "неудачные обмены с сервисом (с повторами)"},
    {"summary.legend-failed-exchanges-by-cause", "неудачные обмены по причинам:"},
    {"summary.out-of-order",
     "Отметки времени не по порядку: {n} (запись помечена более ранним временем, чем предыдущая: "
     "часы кассы перевели назад или журналы соединили не по порядку)"},
    {"summary.as-written",
     "Результаты, ошибки Windows и HTTP-статусы за пределами 32-битного числа, показанные так, как "
     "записаны в журнале: {n}"},
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
    {"cause.time-out", "время ожидания ответа истекло"},
    {"cause.empty-reply", "пустой ответ"},
    {"cause.send-failed", "запрос не отправлен"},
    {"summary.cause.other", "другой сбой"},
    {"summary.no-call",
     "в {file} нет вызовов (ни один Init, GetCardInfoEx или TransactionsEx в нём не начинается)"},
    {"summary.cannot-write", "не удаётся записать {file}"},
    {"summary.page", "Страница: {file}"},

    // ---- redact ----
    {"redact.log-itself", "{file} — это сам журнал; укажите для копии другой файл"},
    {"redact.cannot-write", "не удаётся записать {file}"},
    {"redact.wrote", "Записана копия {copy} ({copy_size}) журнала {log} ({log_size}), заменено:\n"},
    {"redact.bytes-one", "{count} байт"},
    {"redact.bytes-few", "{count} байта"},
    {"redact.bytes-many", "{count} байт"},
    {"redact.replaced", "  {kind}: заменено {count}{values}\n"},
    {"redact.values-one", " ({count} значение)"},
    {"redact.values-few", " ({count} значения)"},
    {"redact.values-many", " ({count} значений)"},
    {"redact.kind-tokens", "токены API"},
    {"redact.kind-birthdays", "даты рождения"},
    {"redact.kind-comments", "комментарии о госте"},
    {"redact.kind-emails", "адреса электронной почты"},
    {"redact.kind-names", "имена"},
    {"redact.kind-numbers", "номера телефонов и карт"},
    {"redact.members-removed",
     "  поля ответов неизвестного назначения с текстом или числом: удалено {count}\n"},
    {"redact.replies-removed",
     "  ответы, оборванные или не в формате JSON целиком: удалено {count}\n"},
    {"redact.head-removed",
     "  текст до первой записи (журнал начинается посреди записи): удалено {bytes}\n"},
    {"redact.texts-removed", "  строки, которых модуль не пишет: заменено {count}\n"},
    {"redact.damage-removed",
     "  повреждённые участки (нулевые байты после сбоя питания и текст за ними): {count}, удалено "
     "{bytes}\n"},
    {"redact.left-over",
     "{file} не записан: в копии остался бы токен или значение, заменённое в другом месте"},
    {"redact.nothing", "  заменять нечего\n"},
};

}  // namespace

extern const Catalog kRussianCatalog = {Language::Russian, "ru", kMessages, std::size(kMessages)};
