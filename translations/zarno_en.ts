<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>zarno</name>
    <message>
        <source>Ошибка при установке каталога! Повторить?</source>
        <translation>Could not enter the folder. Try again?</translation>
    </message>
    <message>
        <source>Ошибка при выборе накопителя!</source>
        <translation>Could not select the drive!</translation>
    </message>
    <message>
        <source>Необходимо определить удаленное устройство</source>
        <translation>The remote device must be set up first</translation>
    </message>
    <message>
        <source>Необходимо определить Внешнее Усторойство!</source>
        <translation>The external device must be set up first!</translation>
    </message>
    <message>
        <source>Необходимо определить внешнее усторойство!</source>
        <translation>The external device must be set up first!</translation>
    </message>
    <message>
        <source>Имя файла</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Размер</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Изменен</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Нет выбранных файлов!</source>
        <translation>No files selected!</translation>
    </message>
    <message>
        <source>Копирование с удаленного утройства на удаленное запрещено!</source>
        <translation>Copying from the remote device to the remote device is not allowed!</translation>
    </message>
    <message>
        <source>На удаленном устройстве данного типа каталоги создавать невозможно!</source>
        <translation>Folders cannot be created on a remote device of this type!</translation>
    </message>
    <message>
        <source>Используйте функцию копирования при перенесении DDB файлов на компьютер!</source>
        <translation>Use Copy to move DDB files to the computer!</translation>
    </message>
    <message>
        <source>Нет выбранных DDB файлов!</source>
        <translation>No DDB files selected!</translation>
    </message>
    <message>
        <source>Выберите только один файл!</source>
        <translation>Select just one file!</translation>
    </message>
    <message>
        <source>Копирование каталогов запрещено!</source>
        <translation>Folders cannot be copied!</translation>
    </message>
    <message>
        <source>Стирание нескольких каталогов запрещено!</source>
        <translation>Several folders cannot be deleted at once!</translation>
    </message>
    <message>
        <source>Неправильно задано имя файла!</source>
        <translation>The file name is not valid!</translation>
    </message>
    <message>
        <source>Недопустимо преобразовывать не DDB-файл в SGY-файл!</source>
        <translation>Only a DDB file can be converted to an SGY file!</translation>
    </message>
    <message>
        <source>Ошибка в отображении каталога удаленного диска!</source>
        <translation>Could not list the folder on the remote disk!</translation>
    </message>
    <message>
        <source>Невозможно скопировать файл на удаленный диск!</source>
        <translation>Cannot copy the file to the remote disk!</translation>
    </message>
    <message>
        <source>Невозможно скопировать файл!</source>
        <translation>Cannot copy the file!</translation>
    </message>
    <message>
        <source>Файл &apos;..&apos; удалить нельзя!</source>
        <translation>The file &apos;..&apos; cannot be deleted!</translation>
    </message>
    <message>
        <source>В каталоге, по-видимому, есть файлы и его не удалось удалить!</source>
        <translation>The folder could not be deleted; it probably still holds files!</translation>
    </message>
    <message>
        <source>Ошибка при удалении файла!</source>
        <translation>Could not delete the file!</translation>
    </message>
    <message>
        <source>Ошибка при стирании файла на удаленном диске!</source>
        <translation>Could not delete the file on the remote disk!</translation>
    </message>
    <message>
        <source>Ошибка при удалении файла на PC!</source>
        <translation>Could not delete the file on the PC!</translation>
    </message>
    <message>
        <source>Ошибка в имени каталога!</source>
        <translation>The folder name is not valid!</translation>
    </message>
    <message>
        <source>Ошибка при создании каталога на удаленном диске!</source>
        <translation>Could not create the folder on the remote disk!</translation>
    </message>
    <message>
        <source>Каталог создать не удалось!</source>
        <translation>Could not create the folder!</translation>
    </message>
    <message>
        <source>Внимание!</source>
        <translation>Attention!</translation>
    </message>
    <message>
        <source>Файл </source>
        <translation>The file </translation>
    </message>
    <message>
        <source> уже существует! Переписать?</source>
        <translation> already exists! Overwrite it?</translation>
    </message>
    <message>
        <source>Преобразовать запись %1 в файл SEG-Y %2 и открыть его?</source>
        <translation>Convert the recording %1 into the SEG-Y file %2 and open it?</translation>
    </message>
    <message>
        <source>Преобразовать запись %1 в файл SEG-Y %2 и открыть его?
Существующий файл %2 будет заменён.</source>
        <translation>Convert the recording %1 into the SEG-Y file %2 and open it?
The existing file %2 will be replaced.</translation>
    </message>
    <message>
        <source>Файл %1 не является записью SEG-Y или DDB и не может быть открыт.</source>
        <translation>The file %1 is neither a SEG-Y nor a DDB recording and cannot be opened.</translation>
    </message>
    <message>
        <source>Ошибка доставки сообщения</source>
        <translation>The message could not be delivered</translation>
    </message>
    <message>
        <source>Невозможно отправить очередное сообщение</source>
        <translation>Cannot send the next message</translation>
    </message>
    <message>
        <source>Невозможно создать поток</source>
        <translation>Cannot create the thread</translation>
    </message>
    <message>
        <source>Каталог на удаленном диске не найден!</source>
        <translation>The folder was not found on the remote disk!</translation>
    </message>
    <message>
        <source>Ошибка при установке каталога!</source>
        <translation>Could not enter the folder!</translation>
    </message>
    <message>
        <source>Файл на удаленном диске не найден!</source>
        <translation>The file was not found on the remote disk!</translation>
    </message>
    <message>
        <source>Нет доступных COM - портов!</source>
        <translation>No COM ports are available!</translation>
    </message>
    <message>
        <source>Невозможно загрузить транспортную библиотеку!</source>
        <translation>Cannot load the transport library!</translation>
    </message>
    <message>
        <source>Невозможно подсоединить COM порт!</source>
        <translation>Cannot connect the COM port!</translation>
    </message>
    <message>
        <source>Номер удаленного устройства не может быть равен 0!</source>
        <translation>The remote device number cannot be 0!</translation>
    </message>
    <message>
        <source>Невозможно создать транспорт</source>
        <translation>Cannot create the transport</translation>
    </message>
    <message>
        <source>Невозможно присоединить клиента</source>
        <translation>Cannot attach the client</translation>
    </message>
    <message>
        <source>Невозможно выбрать клиента</source>
        <translation>Cannot select the client</translation>
    </message>
    <message>
        <source>Невозможно настроить порт</source>
        <translation>Cannot set up the port</translation>
    </message>
    <message>
        <source>Невозможно загрузить транспортную библиотеку</source>
        <translation>Cannot load the transport library</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Невозможно инициализировать систему сокетов </source>
        <translation>Cannot initialise the sockets </translation>
    </message>
    <message>
        <source>Невозможно настроить IP-адрес</source>
        <translation>Cannot set up the IP address</translation>
    </message>
    <message>
        <source>Ошибка при попытке получения списка файлов!</source>
        <translation>Could not get the list of files!</translation>
    </message>
    <message>
        <source>Неправильный дескриптор файла!</source>
        <translation>Invalid file handle!</translation>
    </message>
    <message>
        <source>Недостаточно места на удаленном диске для копирования файла!</source>
        <translation>Not enough space on the remote disk to copy the file!</translation>
    </message>
    <message>
        <source>Удаленный диск переполнен!</source>
        <translation>The remote disk is full!</translation>
    </message>
    <message>
        <source>Ошибка создания файла на удаленном диске!</source>
        <translation>Could not create the file on the remote disk!</translation>
    </message>
    <message>
        <source>Файл на удаленном диске имеет нулевую длину!</source>
        <translation>The file on the remote disk is empty!</translation>
    </message>
    <message>
        <source>Ошибка открытия файла на удаленном диске!</source>
        <translation>Could not open the file on the remote disk!</translation>
    </message>
    <message>
        <source>Ошибка при работе с файлом на удаленном диске!</source>
        <translation>Error while working with the file on the remote disk!</translation>
    </message>
    <message>
        <source>Ошибка работы на транспортном уровне!</source>
        <translation>Transport error!</translation>
    </message>
    <message>
        <source>Файл на удаленном диске не доступен!</source>
        <translation>The file on the remote disk is not accessible!</translation>
    </message>
    <message>
        <source>Невозможно открыть файл на компьютере!</source>
        <translation>Cannot open the file on the computer!</translation>
    </message>
    <message>
        <source>Ошибка записи блока данных на PC!</source>
        <translation>Could not write a data block on the PC!</translation>
    </message>
    <message>
        <source>Ошибка при выдачи блока данных с удаленного диска! Повторить?</source>
        <translation>Could not receive a data block from the remote disk! Try again?</translation>
    </message>
    <message>
        <source>Ошибка чтения блока данных на PC!</source>
        <translation>Could not read a data block on the PC!</translation>
    </message>
    <message>
        <source>Ошибка при выдачи блока данных на удаленный диск! Повторить?</source>
        <translation>Could not send a data block to the remote disk! Try again?</translation>
    </message>
    <message>
        <source>Неправильный номер блока! Повторить?</source>
        <translation>Wrong block number! Try again?</translation>
    </message>
    <message>
        <source>Диск инфо</source>
        <translation>Disk info</translation>
    </message>
    <message>
        <source>Количество файлов:</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>Копирование файлов</source>
        <translation>Copy files</translation>
    </message>
    <message>
        <source>Каталог/файл (откуда)</source>
        <translation>Folder/file (from)</translation>
    </message>
    <message>
        <source>Каталог (куда)</source>
        <translation>Folder (to)</translation>
    </message>
    <message>
        <source>Файл (куда)</source>
        <translation>File (to)</translation>
    </message>
    <message>
        <source>Скопировано блоков</source>
        <translation>Blocks copied</translation>
    </message>
    <message>
        <source>Преобразовывать формат DDB в формат SGY</source>
        <translation>Convert DDB to SGY</translation>
    </message>
    <message>
        <source>Скопировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>файла(ов)?</source>
        <translation>file(s)?</translation>
    </message>
    <message>
        <source>Откуда</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Куда</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Блоков в файле:</source>
        <translation>Blocks in file:</translation>
    </message>
    <message>
        <source>Блоков всего:</source>
        <translation>Blocks in all:</translation>
    </message>
    <message>
        <source>Создание каталога</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>Новый каталог</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>Стирание файла/каталога</source>
        <translation>Delete file/folder</translation>
    </message>
    <message>
        <source>Стереть файл/каталог</source>
        <translation>Delete the file/folder</translation>
    </message>
    <message>
        <source>Стирание файлов</source>
        <translation>Delete files</translation>
    </message>
    <message>
        <source>Стереть</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>файлов?</source>
        <translation>files?</translation>
    </message>
    <message>
        <source>Преобразование DDB файлов в SGY файлы</source>
        <translation>Convert DDB files to SGY files</translation>
    </message>
    <message>
        <source>Преобразовать</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Блоков в файле</source>
        <translation>Blocks in file</translation>
    </message>
    <message>
        <source>Блоков всего</source>
        <translation>Blocks in all</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>уже существует! Переписать?</source>
        <translation>already exists! Overwrite it?</translation>
    </message>
    <message>
        <source>Да для всех</source>
        <translation>Yes to all</translation>
    </message>
    <message>
        <source>Дисковод</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Имя тома</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Файловая система</source>
        <translation>File system</translation>
    </message>
    <message>
        <source>Длина имени файла</source>
        <translation>Name length</translation>
    </message>
    <message>
        <source>Размер накопителя(kB)</source>
        <translation>Size (kB)</translation>
    </message>
    <message>
        <source>Свободно (kB)</source>
        <translation>Free (kB)</translation>
    </message>
    <message>
        <source>Информация о накопителях</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>Настройка связи ...</source>
        <translation>Connecting ...</translation>
    </message>
    <message>
        <source>Скорость (бит/с)</source>
        <translation>Speed (bit/s)</translation>
    </message>
    <message>
        <source>Номер удаленного устройства</source>
        <translation>Remote device number</translation>
    </message>
    <message>
        <source>Номера портов</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>Данный компьютер (порт)</source>
        <translation>This computer (port)</translation>
    </message>
    <message>
        <source>Удаленное устройство (порт)</source>
        <translation>Remote device (port)</translation>
    </message>
    <message>
        <source>IP-адрес удаленного устройства</source>
        <translation>IP address of the remote device</translation>
    </message>
    <message>
        <source>Настройка параметров COM порта</source>
        <translation>COM port settings</translation>
    </message>
    <message>
        <source>Настройка COM-порта</source>
        <translation>COM port</translation>
    </message>
    <message>
        <source>Настройка параметров сети</source>
        <translation>Network settings</translation>
    </message>
    <message>
        <source>Настройка сети</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>По имени</source>
        <translation>By name</translation>
    </message>
    <message>
        <source>По типу</source>
        <translation>By type</translation>
    </message>
    <message>
        <source>По размеру</source>
        <translation>By size</translation>
    </message>
    <message>
        <source>По дате</source>
        <translation>By date</translation>
    </message>
    <message>
        <source>Сортировка</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>Копирование</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Стирание</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Преобразование DDB в SGY</source>
        <translation>Convert DDB to SGY</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Ошибка при получении системного списка значков!</source>
        <translation>Could not get the system icon list!</translation>
    </message>
    <message>
        <source>Создать</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Открыть...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Настройка печати...</source>
        <translation>Print setup...</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Сетевое соединение</source>
        <translation>Network connection</translation>
    </message>
    <message>
        <source>Настройка COM порта</source>
        <translation>COM port settings</translation>
    </message>
    <message>
        <source>Настройка параметров соединения</source>
        <translation>Connection settings</translation>
    </message>
    <message>
        <source>Показать транспорт</source>
        <translation>Show transport</translation>
    </message>
    <message>
        <source>Отключить транспорт</source>
        <translation>Disconnect transport</translation>
    </message>
    <message>
        <source>Копирование (F5)</source>
        <translation>Copy (F5)</translation>
    </message>
    <message>
        <source>Создание каталога (F7)</source>
        <translation>New folder (F7)</translation>
    </message>
    <message>
        <source>Стирание (F8)</source>
        <translation>Delete (F8)</translation>
    </message>
    <message>
        <source>Панель инструментов</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Отображение SGY файла</source>
        <translation>Show SGY file</translation>
    </message>
    <message>
        <source>Левый выпадающий список</source>
        <translation>Left drive list</translation>
    </message>
    <message>
        <source>Правый выпадающий список</source>
        <translation>Right drive list</translation>
    </message>
    <message>
        <source>Транспорт</source>
        <translation>Transport</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Окно</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Не удалось открыть файл:
%1
Для файлов этого типа не назначена программа.</source>
        <translation>Could not open the file:
%1
No program is set for files of this type.</translation>
    </message>
    <message>
        <source>Настройка отчёта</source>
        <translation>Report settings</translation>
    </message>
    <message>
        <source>Текст оператора</source>
        <translation>Operator&apos;s text</translation>
    </message>
    <message>
        <source>Параметры, выводимые на печать</source>
        <translation>Printed parameters</translation>
    </message>
    <message>
        <source>Скорость продольной волны в свае</source>
        <translation>Longitudinal wave speed in the pile</translation>
    </message>
    <message>
        <source>Расчётная длина сваи</source>
        <translation>Calculated pile length</translation>
    </message>
    <message>
        <source>Список длин</source>
        <translation>List of lengths</translation>
    </message>
    <message>
        <source>Время создания &apos;SGY&apos; файла</source>
        <translation>Time the &apos;SGY&apos; file was made</translation>
    </message>
    <message>
        <source>Сохранить отчёт в файле</source>
        <translation>Save the report to a file</translation>
    </message>
    <message>
        <source>Отобразить / Скрыть менеджер</source>
        <translation>Show / Hide the manager</translation>
    </message>
    <message>
        <source>Окна каскадом</source>
        <translation>Cascade</translation>
    </message>
    <message>
        <source>Растянуть по ширине экрана</source>
        <translation>Tile across the screen</translation>
    </message>
    <message>
        <source>Перейти к следующему окну</source>
        <translation>Next window</translation>
    </message>
    <message>
        <source>Левая/правая панель</source>
        <translation>Left/right panel</translation>
    </message>
    <message>
        <source>Тип документа:</source>
        <translation>Document type:</translation>
    </message>
    <message>
        <source>Выберите SGY файл в панели и откройте его двойным щелчком.</source>
        <translation>Select an SGY file in the panel and double-click it to open it.</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>О программе Zarno</source>
        <translation>About Zarno</translation>
    </message>
    <message>
        <source>Zarno, версия 1.0

Менеджер файлов и просмотр сигналов прибора.</source>
        <translation>Zarno, version 1.0

The instrument&apos;s file manager and signal viewer.</translation>
    </message>
    <message>
        <source>Неверно задано имя файла!</source>
        <translation>Invalid file name!</translation>
    </message>
    <message>
        <source>Ошибка при создании файла на PC!</source>
        <translation>Error creating the file on the PC!</translation>
    </message>
    <message>
        <source>Ошибка при чтении файла на PC!</source>
        <translation>Error reading the file on the PC!</translation>
    </message>
    <message>
        <source>Ошибка при записи файла на PC!</source>
        <translation>Error writing the file on the PC!</translation>
    </message>
    <message>
        <source>это не обычный файл (канал, устройство или папка)</source>
        <translation>this is not a regular file (a pipe, a device or a folder)</translation>
    </message>
    <message>
        <source>Нельзя записать файл SGY поверх исходного файла</source>
        <translation>An SGY file cannot be written over its source file</translation>
    </message>
    <message>
        <source>Ошибка в формате DDB файла!</source>
        <translation>Error in the DDB file format!</translation>
    </message>
    <message>
        <source>Ошибка в формате SGY файла!</source>
        <translation>Error in the SGY file format!</translation>
    </message>
    <message>
        <source>Ошибка при получении информации об удаленном диске!</source>
        <translation>Error getting information about the remote disk!</translation>
    </message>
</context>
<context>
    <name>zarno::CDlgNScreen</name>
    <message>
        <source>Настройка параметров отображения информации</source>
        <translation>Display settings</translation>
    </message>
    <message>
        <source>Максимально возможное количество графиков на экране,
отображаемое без прокрутки экрана</source>
        <translation>Most graphs shown on the screen
without scrolling</translation>
    </message>
    <message>
        <source>Шаг графиков сигналов по оси  X (мс)</source>
        <translation>Signal graphs&apos; X step (ms)</translation>
    </message>
    <message>
        <source>Шаг графиков спектра по оси  X </source>
        <translation>Spectrum graphs&apos; X step </translation>
    </message>
</context>
<context>
    <name>zarno::CMainFrame</name>
    <message>
        <source>Открыть объект…</source>
        <translation>Open site…</translation>
    </message>
    <message>
        <source>Открыть объект</source>
        <translation>Open site</translation>
    </message>
</context>
<context>
    <name>zarno::CPictForm1</name>
    <message>
        <source>Текущий маркер</source>
        <translation>Current marker</translation>
    </message>
    <message>
        <source>Скорость : </source>
        <translation>Velocity : </translation>
    </message>
    <message>
        <source>Использовать ВАРУ</source>
        <translation>Use TVG</translation>
    </message>
    <message>
        <source>Включить обработку</source>
        <translation>Processing on</translation>
    </message>
    <message>
        <source>Включить фильтр</source>
        <translation>Filter on</translation>
    </message>
    <message>
        <source>Список длин</source>
        <translation>Lengths list</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Расстояние(m)</source>
        <translation>Distance(m)</translation>
    </message>
    <message>
        <source>Сбросить маркеры</source>
        <translation>Reset markers</translation>
    </message>
    <message>
        <source>Отображаемые графики</source>
        <translation>Graphs shown</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Свойства маркеров</source>
        <translation>Marker properties</translation>
    </message>
    <message>
        <source>Графика № : </source>
        <translation>Graph No. : </translation>
    </message>
    <message>
        <source>Окрестность поиска экстремума, м: </source>
        <translation>Extremum search range, m: </translation>
    </message>
    <message>
        <source>Поиск экстремума</source>
        <translation>Extremum search</translation>
    </message>
    <message>
        <source>По максимуму</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>По минимуму</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>По абсолютному 
максимуму</source>
        <translation>Absolute 
maximum</translation>
    </message>
    <message>
        <source>Параметры оси X</source>
        <translation>X axis</translation>
    </message>
    <message>
        <source>Единицы измерения</source>
        <translation>Units</translation>
    </message>
    <message>
        <source>Время (ms)</source>
        <translation>Time (ms)</translation>
    </message>
    <message>
        <source>Длина (m)</source>
        <translation>Length (m)</translation>
    </message>
    <message>
        <source>Границы</source>
        <translation>Bounds</translation>
    </message>
    <message>
        <source>От:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>До:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>Установить ноль</source>
        <translation>Set zero</translation>
    </message>
    <message>
        <source>Восстановить границы</source>
        <translation>Restore bounds</translation>
    </message>
</context>
<context>
    <name>zarno::CPrintReport</name>
    <message>
        <source>Язык отчёта:</source>
        <translation>Report language:</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Russian</translation>
    </message>
</context>
<context>
    <name>zarno::CPropertySheetSGY</name>
    <message>
        <source>Поле заголовка</source>
        <translation>Header field</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Заголовок SGY файла</source>
        <translation>SGY file header</translation>
    </message>
    <message>
        <source>Заголовок трассы</source>
        <translation>Trace header</translation>
    </message>
    <message>
        <source>Номер трассы</source>
        <translation>Trace number</translation>
    </message>
    <message>
        <source>В окне сигналов показаны трассы 1 и 2 из %1</source>
        <translation>The signal window shows traces 1 and 2 of %1</translation>
    </message>
</context>
<context>
    <name>zarno::CSiteFrame</name>
    <message>
        <source>Объект: %1</source>
        <translation>Site: %1</translation>
    </message>
    <message>
        <source>Скорость, м/с:</source>
        <translation>Velocity, m/s:</translation>
    </message>
    <message>
        <source>по калибровке</source>
        <translation>calibrated</translation>
    </message>
    <message>
        <source>Скорость волны на объекте; пустое поле — скорость по сваям известной длины</source>
        <translation>The site&apos;s wave velocity; an empty field: the velocity from the piles of known length</translation>
    </message>
    <message>
        <source>Печатать отчёт по объекту</source>
        <translation>Print site report</translation>
    </message>
    <message>
        <source>Сваи: %v из %m</source>
        <translation>Piles: %v of %m</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Расчёт объекта отменён.</source>
        <translation>The site survey was cancelled.</translation>
    </message>
    <message>
        <source>Сваи</source>
        <translation>Piles</translation>
    </message>
    <message>
        <source>Все сваи</source>
        <translation>All piles</translation>
    </message>
    <message>
        <source>Идёт расчёт объекта…</source>
        <translation>Surveying the site…</translation>
    </message>
    <message>
        <source>Не удалось прочитать объект:
%1</source>
        <translation>Could not read the site:
%1</translation>
    </message>
    <message>
        <source>Скорость %1 м/с задана вручную</source>
        <translation>Velocity %1 m/s set by hand</translation>
    </message>
    <message>
        <source> (по калибровке %1 м/с)</source>
        <translation> (calibrated %1 m/s)</translation>
    </message>
    <message>
        <source>Скорость %1 м/с по сваям известной длины: %2</source>
        <translation>Velocity %1 m/s from the piles of known length: %2</translation>
    </message>
    <message>
        <source>Скорость не известна: нет свай известной длины. Задайте её вручную.</source>
        <translation>Velocity unknown: no pile of known length. Set it by hand.</translation>
    </message>
    <message>
        <source>%1 (%2 м/с, %3%)</source>
        <translation>%1 (%2 m/s, %3%)</translation>
    </message>
    <message>
        <source>Исключены из калибровки: %1</source>
        <translation>Left out of the calibration: %1</translation>
    </message>
    <message>
        <source>Скорость задаётся числом в м/с, например 3800.</source>
        <translation>The velocity is a number of m/s, for example 3800.</translation>
    </message>
    <message>
        <source>У сваи %1 нет согласованных ударов: средней трассы нет.</source>
        <translation>Pile %1 has no consistent blows: there is no averaged trace.</translation>
    </message>
    <message>
        <source>Отчёт по объекту</source>
        <translation>Site report</translation>
    </message>
    <message>
        <source>Документ PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Не удалось записать отчёт:
%1</source>
        <translation>Could not write the report:
%1</translation>
    </message>
</context>
<context>
    <name>zarno::CSplitterPictFrame</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Печатать отчёт</source>
        <translation>Print report</translation>
    </message>
    <message>
        <source>Сохр. спектр</source>
        <translation>Save spectrum</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Настройка</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Настройка параметров экрана</source>
        <translation>Screen settings</translation>
    </message>
    <message>
        <source>Настройка БПФ</source>
        <translation>FFT settings</translation>
    </message>
    <message>
        <source>Прямоугольное окно</source>
        <translation>Rectangular window</translation>
    </message>
    <message>
        <source>Окно Блэкмана-Хэрриса</source>
        <translation>Blackman-Harris window</translation>
    </message>
    <message>
        <source>Окно Хэмминга</source>
        <translation>Hamming window</translation>
    </message>
    <message>
        <source>Логарифмический масштаб</source>
        <translation>Logarithmic scale</translation>
    </message>
    <message>
        <source>Линейный масштаб</source>
        <translation>Linear scale</translation>
    </message>
    <message>
        <source>Настроить параметры ВАРУ</source>
        <translation>TVG settings</translation>
    </message>
    <message>
        <source>Настроить параметры  фильтра</source>
        <translation>Filter settings</translation>
    </message>
    <message>
        <source>Окна</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Заголовки</source>
        <translation>Headers</translation>
    </message>
    <message>
        <source>Спектр</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Сигналы</source>
        <translation>Signals</translation>
    </message>
    <message>
        <source>Свая во весь экран</source>
        <translation>Fit the pile</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>Отобразить / Скрыть сетку</source>
        <translation>Show / Hide grid</translation>
    </message>
    <message>
        <source>Закраска</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Линия</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Верхняя закраска</source>
        <translation>Fill above</translation>
    </message>
    <message>
        <source>Нижняя закраска</source>
        <translation>Fill below</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1</source>
        <translation>Could not write the file %1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Длина у маркера — в объект</source>
        <translation>Length at marker to the site</translation>
    </message>
    <message>
        <source>Поставьте текущий маркер на нижний конец сваи.</source>
        <translation>Put the current marker on the pile&apos;s toe.</translation>
    </message>
</context>
<context>
    <name>zarno::Cli</name>
    <message>
        <source>Невозможно записать файл %1</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>zarno::Dsp</name>
    <message>
        <source>Невозможно загрузить библиотеку фильтрации!</source>
        <translation>Cannot load the filtering library!</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Ошибка памяти при создании фильтра</source>
        <translation>Out of memory while creating the filter</translation>
    </message>
    <message>
        <source>Ошибка!</source>
        <translation>Error!</translation>
    </message>
</context>
<context>
    <name>zarno::Formats</name>
    <message>
        <source>Это не обычный файл (канал, FIFO или устройство): его нельзя читать по смещениям</source>
        <translation>This is not a regular file (a pipe, FIFO or device): it cannot be read at offsets</translation>
    </message>
    <message>
        <source>Число трасс в заголовке не указано; по размеру файла их %1</source>
        <translation>The header gives no trace count; by the file size there are %1</translation>
    </message>
    <message>
        <source>Файл короче заголовков SEG-Y: %1 байт вместо %2</source>
        <translation>The file is shorter than the SEG-Y headers: %1 bytes instead of %2</translation>
    </message>
    <message>
        <source>В файле нет ни одной трассы</source>
        <translation>The file holds no trace</translation>
    </message>
    <message>
        <source>Файл короче, чем сказано в его заголовках: %1 байт вместо %2 (%3 трасс по %4 отсчётов)</source>
        <translation>The file is shorter than its headers say: %1 bytes instead of %2 (%3 traces of %4 samples)</translation>
    </message>
    <message>
        <source>Заголовок трассы %1 не читается</source>
        <translation>The header of trace %1 cannot be read</translation>
    </message>
    <message>
        <source>Трассы разной длины: в трассе %1 %2 отсчётов, а по заголовку файла %3</source>
        <translation>Traces of different lengths: trace %1 has %2 samples, the file header says %3</translation>
    </message>
    <message>
        <source>%1 в заголовках различается: %2; используется %3 %4</source>
        <translation>%1 differs between the headers: %2; %3 %4 is used</translation>
    </message>
    <message>
        <source>на ленте</source>
        <translation>on the reel</translation>
    </message>
    <message>
        <source>на полевой ленте</source>
        <translation>on the field reel</translation>
    </message>
    <message>
        <source>в трассе 1</source>
        <translation>in trace 1</translation>
    </message>
    <message>
        <source>Шаг дискретизации</source>
        <translation>Sample interval</translation>
    </message>
    <message>
        <source>мкс</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>Шаг дискретизации не указан ни в одном заголовке</source>
        <translation>No header gives the sample interval</translation>
    </message>
    <message>
        <source>в расширенном поле</source>
        <translation>in the extended field</translation>
    </message>
    <message>
        <source>Длина трассы</source>
        <translation>Trace length</translation>
    </message>
    <message>
        <source>отсчётов</source>
        <translation>samples</translation>
    </message>
    <message>
        <source>Число отсчётов в трассе не указано ни в одном заголовке</source>
        <translation>No header gives the number of samples per trace</translation>
    </message>
    <message>
        <source>Неверное число отсчётов в трассе: %1</source>
        <translation>Invalid number of samples per trace: %1</translation>
    </message>
    <message>
        <source>Код формата данных %1 не поддерживается</source>
        <translation>Data format code %1 is not supported</translation>
    </message>
    <message>
        <source>Число дополнительных текстовых заголовков не указано</source>
        <translation>The number of extended textual headers is not given</translation>
    </message>
</context>
<context>
    <name>zarno::PileConcerns</name>
    <message>
        <source>Ни один удар не согласуется с другими</source>
        <translation>No blow agrees with the others</translation>
    </message>
    <message>
        <source>Нижний конец сваи не найден</source>
        <translation>The pile&apos;s toe was not found</translation>
    </message>
    <message>
        <source>Длина отличается от проектной на %1%</source>
        <translation>The length differs from the design by %1%</translation>
    </message>
    <message>
        <source>Класс %1</source>
        <translation>Class %1</translation>
    </message>
    <message>
        <source>Предложен класс %1</source>
        <translation>Class %1 proposed</translation>
    </message>
    <message>
        <source>Отброшены удары: %1</source>
        <translation>Blows rejected: %1</translation>
    </message>
</context>
<context>
    <name>zarno::PileStrip</name>
    <message>
        <source>L = %1 м (решение)</source>
        <translation>L = %1 m (decided)</translation>
    </message>
    <message>
        <source>L = %1 м</source>
        <translation>L = %1 m</translation>
    </message>
    <message>
        <source>подошва не найдена</source>
        <translation>toe not found</translation>
    </message>
    <message>
        <source>класс %1 (решение)</source>
        <translation>class %1 (decided)</translation>
    </message>
    <message>
        <source>класс %1 (предложен)</source>
        <translation>class %1 (proposed)</translation>
    </message>
    <message>
        <source>ударов %1 из %2</source>
        <translation>%1 of %2 blows</translation>
    </message>
    <message>
        <source>нет согласованных ударов (из %1)</source>
        <translation>no consistent blow (of %1)</translation>
    </message>
    <message>
        <source>м</source>
        <translation>m</translation>
    </message>
    <message>
        <source>мс</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>подошва %1 %2</source>
        <translation>toe %1 %2</translation>
    </message>
    <message>
        <source>решение %1 м</source>
        <translation>decided %1 m</translation>
    </message>
    <message>
        <source>x, м</source>
        <translation>x, m</translation>
    </message>
    <message>
        <source>t, мс</source>
        <translation>t, ms</translation>
    </message>
</context>
<context>
    <name>zarno::Report</name>
    <message>
        <source>Имя и путь &quot;SGY&quot; файла - &quot;%1&quot;;</source>
        <translation>SGY file name and path - &quot;%1&quot;;</translation>
    </message>
    <message>
        <source>Скорость продольной волны в свае составляет %1 м/с;</source>
        <translation>Longitudinal wave velocity in the pile: %1 m/s;</translation>
    </message>
    <message>
        <source>Расчётная длина сваи составляет %1 м;</source>
        <translation>Calculated pile length: %1 m;</translation>
    </message>
    <message>
        <source>Отражение от нижнего конца сваи не найдено;</source>
        <translation>No reflection from the pile toe found;</translation>
    </message>
    <message>
        <source>Информация о времени измерений отсутствует</source>
        <translation>No measurement time recorded</translation>
    </message>
    <message>
        <source>Измерения проводились %1</source>
        <translation>Measured %1</translation>
    </message>
    <message>
        <source>Имя файла отчёта - &quot;%1&quot;;</source>
        <translation>Report file name - &quot;%1&quot;;</translation>
    </message>
    <message>
        <source>Невозможно записать файл %1</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Отчёт</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Комментарий оператора:</source>
        <translation>Operator&apos;s comment:</translation>
    </message>
    <message>
        <source>Длина, м:</source>
        <translation>Lengths, m:</translation>
    </message>
</context>
<context>
    <name>zarno::SgyHeaders</name>
    <message>
        <source>Идентификационный номер работы</source>
        <translation>Job identification number</translation>
    </message>
    <message>
        <source>Номер профиля</source>
        <translation>Line number</translation>
    </message>
    <message>
        <source>Номер ленты</source>
        <translation>Reel number</translation>
    </message>
    <message>
        <source>Число трасс в магнитограмме</source>
        <translation>Data traces per record</translation>
    </message>
    <message>
        <source>Число дополнительных трасс в магнитограмме</source>
        <translation>Auxiliary traces per record</translation>
    </message>
    <message>
        <source>Шаг дискретизации в мкс на ленте</source>
        <translation>Sample interval, µs, on the reel</translation>
    </message>
    <message>
        <source>Шаг дискретизации в мкс на полевой ленте</source>
        <translation>Sample interval, µs, on the field reel</translation>
    </message>
    <message>
        <source>Длина трассы в дискретах на ленте</source>
        <translation>Samples per trace on the reel</translation>
    </message>
    <message>
        <source>Длина трассы в дискретах на полевой ленте</source>
        <translation>Samples per trace on the field reel</translation>
    </message>
    <message>
        <source>Код формата данных в трассе</source>
        <translation>Data sample format code</translation>
    </message>
    <message>
        <source>Кратность ОГТ</source>
        <translation>CDP fold</translation>
    </message>
    <message>
        <source>Код сортировки трасс</source>
        <translation>Trace sorting code</translation>
    </message>
    <message>
        <source>ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ ПО ВСЕМ ЛЕНТАМ</source>
        <translation>TRACE SEQUENCE NUMBER WITHIN LINE</translation>
    </message>
    <message>
        <source>ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ НА ЛЕНТЕ</source>
        <translation>TRACE SEQUENCE NUMBER WITHIN REEL</translation>
    </message>
    <message>
        <source>ФИЗИЧЕСКИЙ НОМЕР ПОЛЕВОЙ МАГНИТОГРАММЫ (МГ)</source>
        <translation>ORIGINAL FIELD RECORD NUMBER</translation>
    </message>
    <message>
        <source>НОМЕР ТРАССЫ В ПОЛЕВОЙ МГ</source>
        <translation>TRACE NUMBER WITHIN FIELD RECORD</translation>
    </message>
    <message>
        <source>НОМЕР ПВ</source>
        <translation>SHOT POINT NUMBER</translation>
    </message>
    <message>
        <source>НОМЕР ВЫБОРКИ ОГТ</source>
        <translation>CDP ENSEMBLE NUMBER</translation>
    </message>
    <message>
        <source>НОМЕР ТРАССЫ В ВЫБОРКЕ ОГТ</source>
        <translation>TRACE NUMBER WITHIN CDP ENSEMBLE</translation>
    </message>
    <message>
        <source>КОД ТРАССЫ</source>
        <translation>TRACE ID CODE</translation>
    </message>
    <message>
        <source>ЧИСЛО НАКАПЛИВАНИЙ</source>
        <translation>NUMBER OF VERTICALLY SUMMED TRACES</translation>
    </message>
    <message>
        <source>КРАТНОСТЬ СУММИРОВАНИЯ</source>
        <translation>NUMBER OF HORIZONTALLY STACKED TRACES</translation>
    </message>
    <message>
        <source>ХАРАКТЕР ДАННЫХ</source>
        <translation>DATA USE</translation>
    </message>
    <message>
        <source>РАССТОЯНИЕ МЕЖДУ ПВ И ЦЕНТРОМ ГРУППЫ</source>
        <translation>SOURCE TO RECEIVER GROUP DISTANCE</translation>
    </message>
    <message>
        <source>АЛЬТИТУДА ЦЕНТРА ГРУППЫ</source>
        <translation>RECEIVER GROUP ELEVATION</translation>
    </message>
    <message>
        <source>АЛЬТИТУДА ПВ</source>
        <translation>SOURCE SURFACE ELEVATION</translation>
    </message>
    <message>
        <source>ГЛУБИНА ВЗРЫВА ОТ ПОВЕРХНОСТИ</source>
        <translation>SOURCE DEPTH BELOW SURFACE</translation>
    </message>
    <message>
        <source>РЕЛЬЕФ В ПП</source>
        <translation>DATUM ELEVATION AT RECEIVER GROUP</translation>
    </message>
    <message>
        <source>РЕЛЬЕФ В ПВ</source>
        <translation>DATUM ELEVATION AT SOURCE</translation>
    </message>
    <message>
        <source>УГВ ПВ</source>
        <translation>WATER DEPTH AT SOURCE</translation>
    </message>
    <message>
        <source>УГВ ПП</source>
        <translation>WATER DEPTH AT GROUP</translation>
    </message>
    <message>
        <source>МАСШТАБНЫЙ КОЭФФИЦИЕНТ ДЛЯ ЗНАЧЕНИЙ</source>
        <translation>SCALAR FOR VALUES</translation>
    </message>
    <message>
        <source>КООРДИНАТА X ПВ</source>
        <translation>SOURCE X COORDINATE</translation>
    </message>
    <message>
        <source>КООРДИНАТА Y ПВ</source>
        <translation>SOURCE Y COORDINATE</translation>
    </message>
    <message>
        <source>КООРДИНАТА X ПП</source>
        <translation>GROUP X COORDINATE</translation>
    </message>
    <message>
        <source>КООРДИНАТА Y ПП</source>
        <translation>GROUP Y COORDINATE</translation>
    </message>
    <message>
        <source>РАЗМЕРНОСТЬ КООРДИНАТ</source>
        <translation>COORDINATE UNITS</translation>
    </message>
    <message>
        <source>СКОРОСТЬ В ЗМС</source>
        <translation>WEATHERING VELOCITY</translation>
    </message>
    <message>
        <source>СКОРОСТЬ В КОРЕННЫХ ПОРОДАХ</source>
        <translation>SUBWEATHERING VELOCITY</translation>
    </message>
    <message>
        <source>ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПВ</source>
        <translation>UPHOLE TIME AT SOURCE</translation>
    </message>
    <message>
        <source>ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПП</source>
        <translation>UPHOLE TIME AT GROUP</translation>
    </message>
    <message>
        <source>СТАТИЧЕСКАЯ ПОПРАВКА В ПВ</source>
        <translation>SOURCE STATIC CORRECTION</translation>
    </message>
    <message>
        <source>СТАТИЧЕСКАЯ ПОПРАВКА В ПП</source>
        <translation>GROUP STATIC CORRECTION</translation>
    </message>
    <message>
        <source>СУММАРНАЯ СТАТИКА</source>
        <translation>TOTAL STATIC APPLIED</translation>
    </message>
    <message>
        <source>ВРЕМЯ ЗАДЕРЖКИ A</source>
        <translation>LAG TIME A</translation>
    </message>
    <message>
        <source>ВРЕМЯ ЗАДЕРЖКИ B</source>
        <translation>LAG TIME B</translation>
    </message>
    <message>
        <source>ЗАДЕРЖКА НАЧАЛА ЗАПИСИ ОТНОСИТЕЛЬНО НАЧАЛА Tвз</source>
        <translation>DELAY RECORDING TIME FROM THE SHOT</translation>
    </message>
    <message>
        <source>НАЧАЛО МЬЮТИНГА</source>
        <translation>MUTE TIME START</translation>
    </message>
    <message>
        <source>КОНЕЦ МЬЮТИНГА</source>
        <translation>MUTE TIME END</translation>
    </message>
    <message>
        <source>ЧИСЛО ОТСЧЕТОВ В ТРАССЕ</source>
        <translation>NUMBER OF SAMPLES IN THIS TRACE</translation>
    </message>
    <message>
        <source>ШАГ ДИСКРЕТИЗАЦИИ В mks</source>
        <translation>SAMPLE INTERVAL, µs</translation>
    </message>
    <message>
        <source>ФОРМАТ ПОЛЕВОЙ ЗАПИСИ</source>
        <translation>FIELD RECORDING FORMAT</translation>
    </message>
    <message>
        <source>ПОСТОЯННОЕ АППАРАТНОЕ УСИЛЕНИЕ</source>
        <translation>INSTRUMENT GAIN CONSTANT</translation>
    </message>
</context>
<context>
    <name>zarno::SitePages</name>
    <message>
        <source>калибровка %1 м/с по сваям: %2</source>
        <translation>calibrated %1 m/s on piles: %2</translation>
    </message>
    <message>
        <source>без калибровки</source>
        <translation>not calibrated</translation>
    </message>
    <message>
        <source>Скорость волны %1 м/с (задана; %2)</source>
        <translation>Wave velocity %1 m/s (given; %2)</translation>
    </message>
    <message>
        <source>Скорость волны %1 м/с (%2)</source>
        <translation>Wave velocity %1 m/s (%2)</translation>
    </message>
    <message>
        <source>Скорость волны не задана: длин нет (задайте скорость или известные длины в site.csv)</source>
        <translation>No wave velocity: no lengths (give a velocity, or known lengths in site.csv)</translation>
    </message>
    <message>
        <source>%1 (р)</source>
        <translation>%1 (d)</translation>
    </message>
    <message>
        <source>Свая</source>
        <translation>Pile</translation>
    </message>
    <message>
        <source>Удары</source>
        <translation>Blows</translation>
    </message>
    <message>
        <source>Подошва, мс</source>
        <translation>Toe, ms</translation>
    </message>
    <message>
        <source>Длина, м</source>
        <translation>Length, m</translation>
    </message>
    <message>
        <source>Проект, м</source>
        <translation>Design, m</translation>
    </message>
    <message>
        <source>Откл., %</source>
        <translation>Dev., %</translation>
    </message>
    <message>
        <source>Класс*</source>
        <translation>Class*</translation>
    </message>
    <message>
        <source>Аномалии; отбракованные удары</source>
        <translation>Anomalies; rejected blows</translation>
    </message>
    <message>
        <source>отбракованы %1</source>
        <translation>rejected %1</translation>
    </message>
    <message>
        <source>нет удара</source>
        <translation>no blow</translation>
    </message>
    <message>
        <source>Площадка %1</source>
        <translation>Site %1</translation>
    </message>
    <message>
        <source>Исключена из калибровки: %1, %2 м/с (%3% от среднего)</source>
        <translation>Left out of the calibration: %1, %2 m/s (%3% from the mean)</translation>
    </message>
    <message>
        <source>Внимание: %1</source>
        <translation>Warning: %1</translation>
    </message>
    <message>
        <source>* Класс предложен по усреднённой трассе; решает инженер. (р) — решение инженера.</source>
        <translation>* The class is proposed from the averaged trace; the engineer decides. (d): the engineer&apos;s decision.</translation>
    </message>
    <message>
        <source>Не вошло в расчёт площадки</source>
        <translation>Left out of the site</translation>
    </message>
    <message>
        <source>Усреднённые трассы, совмещённые по удару</source>
        <translation>Averaged traces, aligned at the blow</translation>
    </message>
</context>
<context>
    <name>zarno::Viewer</name>
    <message>
        <source>Внимание</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Файл содержит %1 трасс(ы); загружены и показываются только первые две.</source>
        <translation>The file holds %1 traces; only the first two are loaded and shown.</translation>
    </message>
    <message>
        <source>Перейдите в режим оотображения спектра сигналов!</source>
        <translation>Switch to the signal spectrum view first!</translation>
    </message>
    <message>
        <source>Время (ms) : </source>
        <translation>Time (ms) : </translation>
    </message>
    <message>
        <source>Длина (m) : </source>
        <translation>Length (m) : </translation>
    </message>
    <message>
        <source>Показаны трассы 1 и 2 из %1</source>
        <translation>Traces 1 and 2 of %1 shown</translation>
    </message>
    <message>
        <source>Частота (Гц): %1</source>
        <translation>Frequency (Hz): %1</translation>
    </message>
    <message>
        <source>%1 Гц</source>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>Нет трассы для показа: %1</source>
        <translation>No trace to show: %1</translation>
    </message>
</context>
<context>
    <name>zarno::site::Anomalies</name>
    <message>
        <source>сужение</source>
        <translation>reduction</translation>
    </message>
    <message>
        <source>уширение</source>
        <translation>increase</translation>
    </message>
    <message>
        <source>%1 м %2 %3</source>
        <translation>%1 m %2 %3</translation>
    </message>
    <message>
        <source>%1 мс %2 %3</source>
        <translation>%1 ms %2 %3</translation>
    </message>
</context>
<context>
    <name>zarno::site::PileTableModel</name>
    <message>
        <source>Длина задана инженером; измерено: %1 м</source>
        <translation>Length set by the engineer; measured: %1 m</translation>
    </message>
    <message>
        <source>Класс задан инженером; предложен: %1</source>
        <translation>Class set by the engineer; proposed: %1</translation>
    </message>
    <message>
        <source>Длина задаётся числом метров больше нуля: «%1»</source>
        <translation>The length is a number of metres above zero: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Класс задаётся как I, II, III или IV: «%1»</source>
        <translation>The class is I, II, III or IV: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Свая</source>
        <translation>Pile</translation>
    </message>
    <message>
        <source>Удары</source>
        <translation>Blows</translation>
    </message>
    <message>
        <source>Длина, м</source>
        <translation>Length, m</translation>
    </message>
    <message>
        <source>Проект, м</source>
        <translation>Design, m</translation>
    </message>
    <message>
        <source>Отклонение, %</source>
        <translation>Deviation, %</translation>
    </message>
    <message>
        <source>Аномалии</source>
        <translation>Anomalies</translation>
    </message>
    <message>
        <source>Класс</source>
        <translation>Class</translation>
    </message>
</context>
</TS>
