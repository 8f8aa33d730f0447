<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>Cli</name>
    <message>
        <source>The meter does not answer!</source>
        <translation>Устройство не отвечает !</translation>
    </message>
    <message>
        <source>kelmora-cli: unknown option %1</source>
        <translation>kelmora-cli: неизвестный параметр %1</translation>
    </message>
    <message>
        <source>Cannot open the port</source>
        <translation>Невозможно открыть порт</translation>
    </message>
    <message>
        <source>usage: kelmora-cli %1</source>
        <translation>использование: kelmora-cli %1</translation>
    </message>
    <message>
        <source>--size needs a size WxH in pixels</source>
        <translation>--size: нужен размер ШxВ в пикселях (WxH)</translation>
    </message>
    <message>
        <source>--size &quot;%1&quot; is not WxH with a width and height from 100 to 10000 pixels</source>
        <translation>--size &quot;%1&quot;: нужен размер WxH, ширина и высота от 100 до 10000 пикселей</translation>
    </message>
    <message>
        <source>--out %1 is the report itself; choose another file</source>
        <translation>--out %1 — это сам отчет; выберите другой файл</translation>
    </message>
    <message>
        <source>%1: the manual axis limits of the settings file are refused (&quot;%2&quot;); nothing is written</source>
        <translation>%1: ручные пределы осей в файле настроек не годятся (&quot;%2&quot;); ничего не записано</translation>
    </message>
    <message>
        <source>%1: cannot write the PDF file</source>
        <translation>%1: невозможно записать файл PDF</translation>
    </message>
    <message>
        <source>--report needs a name that is not empty</source>
        <translation>--report: имя отчета не может быть пустым</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: a name cannot hold &quot;/&quot; or &quot;\&quot;</source>
        <translation>&quot;%1&quot; не может быть именем отчета: имя не может содержать &quot;/&quot; или &quot;\&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: a name cannot hold control characters</source>
        <translation>&quot;%1&quot; не может быть именем отчета: имя не может содержать управляющие символы</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: it cannot name a file</source>
        <translation>&quot;%1&quot; не может быть именем отчета: это не может быть именем файла</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: a name cannot start with a dot</source>
        <translation>&quot;%1&quot; не может быть именем отчета: имя не может начинаться с точки</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: the name &quot;%2&quot; belongs to the window&apos;s scratch report</source>
        <translation>&quot;%1&quot; не может быть именем отчета: имя &quot;%2&quot; занято временным отчетом окна</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a report name: the name is too long</source>
        <translation>&quot;%1&quot; не может быть именем отчета: имя слишком длинное</translation>
    </message>
    <message>
        <source>--interval needs a number of seconds</source>
        <translation>--interval: нужно число секунд</translation>
    </message>
    <message>
        <source>--interval &quot;%1&quot; is not a whole number of seconds</source>
        <translation>--interval &quot;%1&quot;: это не целое число секунд</translation>
    </message>
    <message>
        <source>--count needs a number</source>
        <translation>--count: нужно число</translation>
    </message>
    <message>
        <source>--count &quot;%1&quot; is not a positive number</source>
        <translation>--count &quot;%1&quot;: это не положительное число</translation>
    </message>
    <message>
        <source>--report needs a name</source>
        <translation>--report: нужно имя отчета</translation>
    </message>
    <message>
        <source>--pool needs a directory</source>
        <translation>--pool: нужен каталог</translation>
    </message>
    <message>
        <source>--mqtt needs a broker address mqtt://HOST[:PORT]/PREFIX</source>
        <translation>--mqtt: нужен адрес брокера mqtt://HOST[:PORT]/PREFIX</translation>
    </message>
    <message>
        <source>--mqtt-user needs a user name</source>
        <translation>--mqtt-user: нужно имя пользователя</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>неизвестный параметр %1</translation>
    </message>
    <message>
        <source>one PORT is needed</source>
        <translation>нужен один порт PORT</translation>
    </message>
    <message>
        <source>--interval is needed</source>
        <translation>нужен параметр --interval</translation>
    </message>
    <message>
        <source>--interval %1 is negative: a number of seconds is needed</source>
        <translation>--interval %1: интервал отрицательный, нужно число секунд</translation>
    </message>
    <message>
        <source>--interval 0 takes one reading; --count %1 needs an interval</source>
        <translation>--interval 0 дает одно считывание; для --count %1 нужен интервал</translation>
    </message>
    <message>
        <source>%1 is not a regular file: no report can be kept there</source>
        <translation>%1 — не обычный файл: отчет там хранить нельзя</translation>
    </message>
    <message>
        <source>MQTT: %1: %2; logging goes on, readings are published from the report once the broker answers</source>
        <translation>MQTT: %1: %2; запись продолжается, показания будут отправлены из отчета, когда брокер ответит</translation>
    </message>
    <message>
        <source>MQTT: %1 answers again; publishing %2 readings logged meanwhile</source>
        <translation>MQTT: %1 снова отвечает; отправляются показания, записанные за это время: %2</translation>
    </message>
    <message>
        <source>MQTT: publishing to %1</source>
        <translation>MQTT: показания отправляются на %1</translation>
    </message>
    <message>
        <source>MQTT: the published position cannot be kept (%1); a restart may publish readings again</source>
        <translation>MQTT: позиция отправки не сохраняется (%1); после перезапуска показания могут быть отправлены повторно</translation>
    </message>
    <message>
        <source>%1 is locked by another program; the reading waits for it (SIGINT or SIGTERM end the wait)</source>
        <translation>%1 заблокирован другой программой; считывание ждет (SIGINT или SIGTERM прерывают ожидание)</translation>
    </message>
    <message>
        <source>logging to %1</source>
        <translation>запись в %1</translation>
    </message>
    <message>
        <source>Cannot read the data!</source>
        <translation>Невозможно считать данные !</translation>
    </message>
    <message>
        <source>%1 opens again</source>
        <translation>%1 снова открывается</translation>
    </message>
    <message>
        <source>read %1</source>
        <translation>считано %1</translation>
    </message>
    <message>
        <source>The reading could not be written to %1: %2</source>
        <translation>Показание не удалось записать в %1: %2</translation>
    </message>
    <message>
        <source>MQTT: %1 readings of the report not yet published; the next run with --mqtt publishes them</source>
        <translation>MQTT: еще не отправленных показаний отчета: %1; их отправит следующий запуск с --mqtt</translation>
    </message>
    <message>
        <source>stored %1 of %2 readings</source>
        <translation>записано показаний: %1 из %2</translation>
    </message>
    <message>
        <source>check PORT [--usb]     connection check; prints the serial number</source>
        <translation>check PORT [--usb]     проверка связи; выводит номер прибора</translation>
    </message>
    <message>
        <source>read PORT [--usb]      one reading: serial number, humidity, temperature</source>
        <translation>read PORT [--usb]      одно считывание: номер прибора, влажность, температура</translation>
    </message>
    <message>
        <source>detect [--usb]         find the meter on the twenty port names</source>
        <translation>detect [--usb]         найти прибор среди двадцати имен портов</translation>
    </message>
    <message>
        <source>Cannot establish a connection!</source>
        <translation>Невозможно установить связь !</translation>
    </message>
    <message>
        <source>Cannot detect the meter automatically!</source>
        <translation>Невозможно автоматически обнаружить устройство !</translation>
    </message>
    <message>
        <source>Check all the connections again and try once more.</source>
        <translation>Проверьте еще раз все соединения и повторите попытку.</translation>
    </message>
    <message>
        <source>Meter found on %1</source>
        <translation>Прибор найден на %1</translation>
    </message>
    <message>
        <source>ports [--map NAME DEVICE | --unmap NAME]   port names and their devices</source>
        <translation>ports [--map NAME DEVICE | --unmap NAME]   имена портов и их устройства</translation>
    </message>
    <message>
        <source>kelmora-cli ports: &quot;%1&quot; is not a name of the port list (the list names it %2); &quot;kelmora-cli ports&quot; lists them</source>
        <translation>kelmora-cli ports: &quot;%1&quot; нет в списке портов (в списке он называется %2); список выводит &quot;kelmora-cli ports&quot;</translation>
    </message>
    <message>
        <source>kelmora-cli ports: &quot;%1&quot; is not a name of the port list; &quot;kelmora-cli ports&quot; lists them</source>
        <translation>kelmora-cli ports: &quot;%1&quot; нет в списке портов; список выводит &quot;kelmora-cli ports&quot;</translation>
    </message>
    <message>
        <source>kelmora-cli ports: --map %1 needs a device path</source>
        <translation>kelmora-cli ports: для --map %1 нужен путь к устройству</translation>
    </message>
    <message>
        <source>kelmora-cli ports: %1 is not mapped; it opens %2</source>
        <translation>kelmora-cli ports: %1 не переназначен; он открывает %2</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Невозможно записать в %1</translation>
    </message>
    <message>
        <source>data directory: %1</source>
        <translation>каталог данных: %1</translation>
    </message>
    <message>
        <source>prepare FILE           sort and clean a report file; prints its first and last minute</source>
        <translation>prepare FILE           упорядочить файл отчета; выводит его первую и последнюю минуту</translation>
    </message>
    <message>
        <source>kelmora-cli prepare: one FILE is needed</source>
        <translation>kelmora-cli prepare: нужен один файл FILE</translation>
    </message>
    <message>
        <source>kelmora-cli prepare: %1: no such file</source>
        <translation>kelmora-cli prepare: %1: нет такого файла</translation>
    </message>
    <message>
        <source>kelmora-cli prepare: %1: not a report file</source>
        <translation>kelmora-cli prepare: %1: это не файл отчета</translation>
    </message>
    <message>
        <source>kelmora-cli prepare: %1</source>
        <translation>kelmora-cli prepare: %1</translation>
    </message>
    <message>
        <source>kelmora-cli prepare: %1: the report holds no reading</source>
        <translation>kelmora-cli prepare: %1: в отчете нет ни одного показания</translation>
    </message>
    <message>
        <source>report FILE [--mode rh|dew|abs] [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--settings INI] --format txt|htm|xls|csv --out PATH   export a report (csv: every reading of the interval; --out - writes txt, htm or csv to standard output)</source>
        <translation>report FILE [--mode rh|dew|abs] [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--settings INI] --format txt|htm|xls|csv --out PATH   экспорт отчета (csv: все показания интервала; --out - выводит txt, htm или csv в стандартный вывод)</translation>
    </message>
    <message>
        <source>kelmora-cli report: --out - takes txt, htm or csv; a workbook goes to a file</source>
        <translation>kelmora-cli report: --out - принимает txt, htm или csv; книга xls записывается в файл</translation>
    </message>
    <message>
        <source>kelmora-cli report: %1</source>
        <translation>kelmora-cli report: %1</translation>
    </message>
    <message>
        <source>Usage: kelmora-cli COMMAND [ARGUMENTS]

Commands:
</source>
        <translation>Использование: kelmora-cli КОМАНДА [АРГУМЕНТЫ]

Команды:
</translation>
    </message>
    <message>
        <source>
PORT is a name of the port list (COM3, \\.\COM12) or a device path.
</source>
        <translation>
PORT — имя из списка портов (COM3, \\.\COM12) или путь к устройству.
</translation>
    </message>
    <message>
        <source>kelmora-cli: unknown command &quot;%1&quot;</source>
        <translation>kelmora-cli: неизвестная команда &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <translation>%1: нужно указать %2</translation>
    </message>
    <message>
        <source>rh, dew or abs</source>
        <translation>rh, dew или abs</translation>
    </message>
    <message>
        <source>--mode &quot;%1&quot; is not rh, dew or abs</source>
        <translation>--mode &quot;%1&quot;: нужно rh, dew или abs</translation>
    </message>
    <message>
        <source>a date and time &quot;YYYY-MM-DD hh:mm&quot;</source>
        <translation>дату и время &quot;ГГГГ-ММ-ДД чч:мм&quot; (YYYY-MM-DD hh:mm)</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a date and time &quot;YYYY-MM-DD hh:mm&quot;</source>
        <translation>%1 &quot;%2&quot;: это не дата и время &quot;ГГГГ-ММ-ДД чч:мм&quot; (YYYY-MM-DD hh:mm)</translation>
    </message>
    <message>
        <source>a settings file</source>
        <translation>файл настроек</translation>
    </message>
    <message>
        <source>four threshold texts &quot;MINH;MAXH;MINT;MAXT&quot;</source>
        <translation>четыре порога &quot;MINH;MAXH;MINT;MAXT&quot;</translation>
    </message>
    <message>
        <source>--thresholds &quot;%1&quot; is not four texts separated by &quot;;&quot;</source>
        <translation>--thresholds &quot;%1&quot;: нужны четыре значения, разделенные &quot;;&quot;</translation>
    </message>
    <message>
        <source>--thresholds &quot;%1&quot;: &quot;%2&quot; is not a number</source>
        <translation>--thresholds &quot;%1&quot;: &quot;%2&quot; — не число</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 или %2</translation>
    </message>
    <message>
        <source>a file path</source>
        <translation>путь к файлу</translation>
    </message>
    <message>
        <source>--format &quot;%1&quot; is not %2</source>
        <translation>--format &quot;%1&quot;: нужно %2</translation>
    </message>
    <message>
        <source>one FILE is needed</source>
        <translation>нужен один файл FILE</translation>
    </message>
    <message>
        <source>--format is needed</source>
        <translation>нужен параметр --format</translation>
    </message>
    <message>
        <source>--out is needed</source>
        <translation>нужен параметр --out</translation>
    </message>
    <message>
        <source>--from is after --to: the interval holds no minute</source>
        <translation>--from позже --to: в интервале нет ни одной минуты</translation>
    </message>
    <message>
        <source>--settings %1: no such file</source>
        <translation>--settings %1: нет такого файла</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: нет такого файла</translation>
    </message>
    <message>
        <source>%1: not a report file</source>
        <translation>%1: это не файл отчета</translation>
    </message>
    <message>
        <source>%1 of %2 records have no valid time stamp and are left out</source>
        <translation>записи без правильной отметки времени пропущены: %1 из %2</translation>
    </message>
    <message>
        <source>%1 of %2 records lie outside the interval and are left out</source>
        <translation>записи вне интервала пропущены: %1 из %2</translation>
    </message>
    <message>
        <source>chart FILE [--mode rh|dew|abs] [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--size WxH] [--dividers N] [--settings INI] --format bmp|wmf|pdf --out PATH   chart pictures (PATH.bmp1/.bmp2, PATH.wmf1/.wmf2) or the graph printout as PDF; --dividers: the plot split into N parts (2 to 99) by green lines</source>
        <translation>chart FILE [--mode rh|dew|abs] [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--size WxH] [--dividers N] [--settings INI] --format bmp|wmf|pdf --out PATH   рисунки графиков (PATH.bmp1/.bmp2, PATH.wmf1/.wmf2) или печать графиков в PDF; --dividers: график разделен зелеными линиями на N частей (от 2 до 99)</translation>
    </message>
    <message>
        <source>--dividers &quot;%1&quot; is not a whole number of parts from 2 to 99</source>
        <translation>--dividers &quot;%1&quot;: нужно целое число частей от 2 до 99</translation>
    </message>
    <message>
        <source>--dividers needs a number of parts from 2 to 99</source>
        <translation>--dividers: нужно число частей от 2 до 99</translation>
    </message>
    <message>
        <source>MQTT: --mqtt-user %1 without a password: %2 is empty or not set</source>
        <translation>MQTT: --mqtt-user %1 без пароля: переменная %2 пуста или не задана</translation>
    </message>
    <message>
        <source>--mqtt-wait needs a number of seconds</source>
        <translation>--mqtt-wait: нужно число секунд</translation>
    </message>
    <message>
        <source>--mqtt-wait &quot;%1&quot; is not a whole number of seconds from 0 to 3600</source>
        <translation>--mqtt-wait &quot;%1&quot;: нужно целое число секунд от 0 до 3600</translation>
    </message>
    <message>
        <source>MQTT: %1 refuses %2; logging goes on, refused readings are sent again until the broker takes them</source>
        <translation>MQTT: %1 не принимает %2; запись продолжается, непринятые показания отправляются снова, пока брокер их не примет</translation>
    </message>
    <message>
        <source>MQTT: %1 holds no published position (damaged); the readings stamped since %2 are published again</source>
        <translation>MQTT: в %1 нет позиции отправки (файл поврежден); показания с %2 отправляются снова</translation>
    </message>
    <message>
        <source>log PORT [--usb] --interval S [--count N] [--report NAME] [--pool DIR] [--mqtt URL [--mqtt-user USER] [--mqtt-cafile FILE] [--no-discovery] [--mqtt-wait S]]   log readings every S seconds into POOL/NAME.dat (default kelmora-cli), each also published to the MQTT broker URL mqtt[s]://HOST[:PORT]/PREFIX (password in KELMORA_MQTT_PASSWORD; mqtts:// checked against the system&apos;s certificate authorities or the one in --mqtt-cafile; at the end up to --mqtt-wait seconds, default 10, for the broker to take the readings); exit status 0 only when every reading was stored</source>
        <translation>log PORT [--usb] --interval S [--count N] [--report NAME] [--pool DIR] [--mqtt URL [--mqtt-user USER] [--mqtt-cafile FILE] [--no-discovery] [--mqtt-wait S]]   записывать показания каждые S секунд в POOL/NAME.dat (по умолчанию kelmora-cli), каждое также отправляется брокеру MQTT по адресу mqtt[s]://HOST[:PORT]/PREFIX (пароль в KELMORA_MQTT_PASSWORD; mqtts:// проверяется по удостоверяющим центрам системы или по центру из --mqtt-cafile; в конце до --mqtt-wait секунд, по умолчанию 10, ждать, пока брокер примет показания); код завершения 0 только если записаны все показания</translation>
    </message>
    <message>
        <source>--mqtt-cafile needs a file of the certificate authority (PEM)</source>
        <translation>--mqtt-cafile требует файл удостоверяющего центра (PEM)</translation>
    </message>
    <message>
        <source>--mqtt-user, --mqtt-cafile, --no-discovery and --mqtt-wait go with --mqtt</source>
        <translation>--mqtt-user, --mqtt-cafile, --no-discovery и --mqtt-wait задаются вместе с --mqtt</translation>
    </message>
    <message>
        <source>--mqtt-cafile goes with an mqtts:// address</source>
        <translation>--mqtt-cafile задается вместе с адресом mqtts://</translation>
    </message>
    <message>
        <source>analyse FILE [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--gap MINUTES] [--activation-energy KJ_PER_MOL] [--lm-activation-energy KJ_PER_MOL] [--settings INI] --format txt|csv|json [--out PATH|-]   climate analysis of the report&apos;s interval: time beyond the thresholds, daily figures, mean kinetic temperature (activation energy default 83.144), wood moisture, lifetime multiplier (default 100), mould hours; csv: the daily table; without --out to standard output</source>
        <translation>analyse FILE [--from &quot;YYYY-MM-DD hh:mm&quot;] [--to &quot;YYYY-MM-DD hh:mm&quot;] [--thresholds &quot;MINH;MAXH;MINT;MAXT&quot;] [--gap MINUTES] [--activation-energy KJ_PER_MOL] [--lm-activation-energy KJ_PER_MOL] [--settings INI] --format txt|csv|json [--out PATH|-]   анализ климата за интервал отчета: время за пределами, показатели по дням, средняя кинетическая температура (энергия активации по умолчанию 83,144), влажность древесины, коэффициент срока службы (по умолчанию 100), часы риска плесени; csv — таблица по дням; без --out — в стандартный вывод</translation>
    </message>
    <message>
        <source>%1 needs a positive number</source>
        <translation>%1 требует положительное число</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a positive number up to %3</source>
        <translation>%1 &quot;%2&quot; — не положительное число не больше %3</translation>
    </message>
    <message>
        <source>kelmora-cli analyse: %1</source>
        <translation>kelmora-cli analyse: %1</translation>
    </message>
    <message>
        <source>--mode does not go with analyse: the analysis covers every channel</source>
        <translation>--mode не задается для analyse: анализ охватывает все величины</translation>
    </message>
</context>
<context>
    <name>Kelmora</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Невозможно открыть файл &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Невозможно создать файл &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;. %2</source>
        <translation>Невозможно записать файл &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;. %2</source>
        <translation>Невозможно прочитать файл &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>The report &quot;%1&quot; is too large to load: %2 bytes, the computer has %3 bytes of memory</source>
        <translation>Отчет &quot;%1&quot; слишком велик для загрузки: %2 байт, а памяти у компьютера %3 байт</translation>
    </message>
    <message>
        <source>Cannot rewrite file &quot;%1&quot;: its directory &quot;%2&quot; does not take a new file. %3</source>
        <translation>Невозможно перезаписать файл &quot;%1&quot;: в его каталоге &quot;%2&quot; нельзя создать новый файл. %3</translation>
    </message>
    <message>
        <source>The rewritten report &quot;%1&quot; could not keep its owner %2 and group %3: %4</source>
        <translation>Перезаписанный отчет &quot;%1&quot; не сохранил владельца %2 и группу %3: %4</translation>
    </message>
    <message>
        <source>The rewritten report &quot;%1&quot; could not keep its permissions %2: %3</source>
        <translation>Перезаписанный отчет &quot;%1&quot; не сохранил права доступа %2: %3</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>стандартный вывод</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no broker address of the form mqtt://HOST[:PORT]/PREFIX or mqtts://HOST[:PORT]/PREFIX</source>
        <translation>&quot;%1&quot; — не адрес брокера вида mqtt://HOST[:PORT]/PREFIX или mqtts://HOST[:PORT]/PREFIX</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no broker host</source>
        <translation>в &quot;%1&quot; не указан узел брокера</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: give the user with --mqtt-user or User=, the password in %2, and nothing after the prefix</source>
        <translation>&quot;%1&quot;: пользователя задайте через --mqtt-user или User=, пароль — в %2, а после префикса ничего не пишите</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the prefix may not hold &quot;+&quot;, &quot;#&quot; or an empty level</source>
        <translation>&quot;%1&quot;: префикс не может содержать &quot;+&quot;, &quot;#&quot; или пустой уровень</translation>
    </message>
    <message>
        <source>cannot make an MQTT client</source>
        <translation>невозможно создать клиент MQTT</translation>
    </message>
    <message>
        <source>connection closed</source>
        <translation>соединение закрыто</translation>
    </message>
    <message>
        <source>no answer within %1 s</source>
        <translation>нет ответа за %1 с</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the prefix may not hold the wildcards &quot;+&quot; and &quot;#&quot;</source>
        <translation>&quot;%1&quot;: префикс не может содержать символы подстановки &quot;+&quot; и &quot;#&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the prefix may not start with &quot;$&quot; (topics of the broker itself)</source>
        <translation>&quot;%1&quot;: префикс не может начинаться с &quot;$&quot; (это темы самого брокера)</translation>
    </message>
    <message>
        <source>the broker refused the connection: %1</source>
        <translation>брокер отказал в соединении: %1</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: нет такого файла</translation>
    </message>
    <message>
        <source>%1: not a file</source>
        <translation>%1: это не файл</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 не читается: %2</translation>
    </message>
    <message>
        <source>%1 holds no certificate in PEM form (-----BEGIN CERTIFICATE-----)</source>
        <translation>в %1 нет сертификата в форме PEM (-----BEGIN CERTIFICATE-----)</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not made out for %1, the host of the URL</source>
        <translation>сертификат брокера выдан не для %1 — узла из адреса</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not trusted: no certificate authority of the system&apos;s store vouches for it (a private one is given with --mqtt-cafile or CaFile=)</source>
        <translation>сертификату брокера нет доверия: его не заверяет ни один удостоверяющий центр системы (свой центр задается через --mqtt-cafile или CaFile=)</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not trusted: %1 does not vouch for it</source>
        <translation>сертификату брокера нет доверия: %1 его не заверяет</translation>
    </message>
    <message>
        <source>the TLS handshake failed (%1); does the port speak TLS?</source>
        <translation>установить TLS не удалось (%1); работает ли порт по TLS?</translation>
    </message>
</context>
<context>
    <name>errno</name>
    <message>
        <source>Operation not permitted</source>
        <translation>Операция не позволена</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>Нет такого файла или каталога</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Прерван системный вызов</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Ошибка ввода/вывода</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>Нет такого устройства или адреса</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>Ресурс временно недоступен</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>Невозможно выделить память</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Отказано в доступе</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Устройство или ресурс занято</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>Файл существует</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>Неверная ссылка между устройствами</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>Нет такого устройства</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Это не каталог</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Это каталог</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Недопустимый аргумент</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Слишком много открытых файлов</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>Текстовый файл занят</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файл слишком велик</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>На устройстве не осталось свободного места</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Файловая система доступна только для чтения</translation>
    </message>
    <message>
        <source>Broken pipe</source>
        <translation>Обрыв канала</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Слишком длинное имя файла</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>Каталог не пуст</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Слишком много уровней символических ссылок</translation>
    </message>
    <message>
        <source>Cannot assign requested address</source>
        <translation>Не удается назначить запрошенный адрес</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Сеть не работает</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Сеть недоступна</translation>
    </message>
    <message>
        <source>Software caused connection abort</source>
        <translation>Программа вызвала разрыв соединения</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Соединение сброшено другой стороной</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Время ожидания соединения истекло</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>В соединении отказано</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Узел не работает</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Нет маршрута до узла</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>Устаревший дескриптор файла</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Превышена дисковая квота</translation>
    </message>
</context>
<context>
    <name>libmosquitto</name>
    <message>
        <source>Out of memory.</source>
        <translation>Недостаточно памяти.</translation>
    </message>
    <message>
        <source>A network protocol error occurred when communicating with the broker.</source>
        <translation>Ошибка сетевого протокола при обмене с брокером.</translation>
    </message>
    <message>
        <source>Invalid function arguments provided.</source>
        <translation>Неверные аргументы функции.</translation>
    </message>
    <message>
        <source>The client is not currently connected.</source>
        <translation>Клиент сейчас не подключен.</translation>
    </message>
    <message>
        <source>The connection was refused.</source>
        <translation>В соединении отказано.</translation>
    </message>
    <message>
        <source>Message not found (internal error).</source>
        <translation>Сообщение не найдено (внутренняя ошибка).</translation>
    </message>
    <message>
        <source>The connection was lost.</source>
        <translation>Соединение потеряно.</translation>
    </message>
    <message>
        <source>A TLS error occurred.</source>
        <translation>Ошибка TLS.</translation>
    </message>
    <message>
        <source>Payload too large.</source>
        <translation>Слишком большое сообщение.</translation>
    </message>
    <message>
        <source>This feature is not supported.</source>
        <translation>Эта возможность не поддерживается.</translation>
    </message>
    <message>
        <source>Authorisation failed.</source>
        <translation>Ошибка авторизации.</translation>
    </message>
    <message>
        <source>Access denied by ACL.</source>
        <translation>Доступ запрещен списком доступа (ACL).</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Неизвестная ошибка.</translation>
    </message>
    <message>
        <source>Lookup error.</source>
        <translation>Ошибка поиска узла.</translation>
    </message>
    <message>
        <source>Proxy error.</source>
        <translation>Ошибка прокси.</translation>
    </message>
    <message>
        <source>Malformed UTF-8</source>
        <translation>Неверный UTF-8</translation>
    </message>
    <message>
        <source>Duplicate property in property list</source>
        <translation>Повторяющееся свойство в списке свойств</translation>
    </message>
    <message>
        <source>TLS handshake failed.</source>
        <translation>Ошибка установления соединения TLS.</translation>
    </message>
    <message>
        <source>Requested QoS not supported on server.</source>
        <translation>Запрошенный QoS не поддерживается сервером.</translation>
    </message>
    <message>
        <source>Packet larger than supported by the server.</source>
        <translation>Пакет больше, чем допускает сервер.</translation>
    </message>
    <message>
        <source>OCSP error.</source>
        <translation>Ошибка OCSP.</translation>
    </message>
    <message>
        <source>Connection Refused: unacceptable protocol version.</source>
        <translation>В соединении отказано: неприемлемая версия протокола.</translation>
    </message>
    <message>
        <source>Connection Refused: identifier rejected.</source>
        <translation>В соединении отказано: идентификатор отклонен.</translation>
    </message>
    <message>
        <source>Connection Refused: broker unavailable.</source>
        <translation>В соединении отказано: брокер недоступен.</translation>
    </message>
    <message>
        <source>Connection Refused: bad user name or password.</source>
        <translation>В соединении отказано: неверное имя пользователя или пароль.</translation>
    </message>
    <message>
        <source>Connection Refused: not authorised.</source>
        <translation>В соединении отказано: нет прав.</translation>
    </message>
    <message>
        <source>Connection Refused: unknown reason.</source>
        <translation>В соединении отказано: причина неизвестна.</translation>
    </message>
    <message>
        <source>Unspecified error</source>
        <translation>Неуказанная ошибка</translation>
    </message>
    <message>
        <source>Malformed Packet</source>
        <translation>Искаженный пакет</translation>
    </message>
    <message>
        <source>Protocol Error</source>
        <translation>Ошибка протокола</translation>
    </message>
    <message>
        <source>Implementation specific error</source>
        <translation>Ошибка, зависящая от реализации</translation>
    </message>
    <message>
        <source>Unsupported Protocol Version</source>
        <translation>Неподдерживаемая версия протокола</translation>
    </message>
    <message>
        <source>Client Identifier not valid</source>
        <translation>Недопустимый идентификатор клиента</translation>
    </message>
    <message>
        <source>Bad User Name or Password</source>
        <translation>Неверное имя пользователя или пароль</translation>
    </message>
    <message>
        <source>Not authorized</source>
        <translation>Нет прав</translation>
    </message>
    <message>
        <source>Server unavailable</source>
        <translation>Сервер недоступен</translation>
    </message>
    <message>
        <source>Server busy</source>
        <translation>Сервер занят</translation>
    </message>
    <message>
        <source>Banned</source>
        <translation>Доступ запрещен</translation>
    </message>
    <message>
        <source>Server shutting down</source>
        <translation>Сервер завершает работу</translation>
    </message>
    <message>
        <source>Bad authentication method</source>
        <translation>Неверный способ аутентификации</translation>
    </message>
    <message>
        <source>Topic Name invalid</source>
        <translation>Недопустимое имя темы</translation>
    </message>
    <message>
        <source>Packet too large</source>
        <translation>Слишком большой пакет</translation>
    </message>
    <message>
        <source>Message rate too high</source>
        <translation>Слишком частые сообщения</translation>
    </message>
    <message>
        <source>Quota exceeded</source>
        <translation>Превышена квота</translation>
    </message>
    <message>
        <source>Administrative action</source>
        <translation>Действие администратора</translation>
    </message>
    <message>
        <source>Payload format invalid</source>
        <translation>Недопустимый формат содержимого</translation>
    </message>
    <message>
        <source>Retain not supported</source>
        <translation>Сохранение сообщений не поддерживается</translation>
    </message>
    <message>
        <source>QoS not supported</source>
        <translation>Уровень QoS не поддерживается</translation>
    </message>
    <message>
        <source>Use another server</source>
        <translation>Используйте другой сервер</translation>
    </message>
    <message>
        <source>Server moved</source>
        <translation>Сервер перемещен</translation>
    </message>
    <message>
        <source>Connection rate exceeded</source>
        <translation>Слишком частые подключения</translation>
    </message>
    <message>
        <source>Unknown reason</source>
        <translation>Неизвестная причина</translation>
    </message>
</context>
</TS>
