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
</context>
</TS>
