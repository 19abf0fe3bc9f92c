#include "main/Usage.h"

#include "engine/InstalledPaths.h"

#include <cstring>

bool asksForHelp(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

QString usageText()
{
    return QString::asprintf("Использование: cogbattery [--settings ФАЙЛ]\n"
                             "\n"
                             "Батарея тестов для психологического исследования. Испытуемый проходит окна\n"
                             "по порядку; после кнопки «Закончить» на последнем окне программа записывает\n"
                             "файл результатов Фамилия_Имя_1.txt в папку, из которой её запустили.\n"
                             "\n"
                             "  --settings ФАЙЛ  файл настроек исследования; без этого параметра читается\n"
                             "                   cogbattery.ini рядом с программой (у программы,\n"
                             "                   установленной пакетом, %s/cogbattery.ini, а без него\n"
                             "                   %s/cogbattery.ini, оставленный прежним пакетом)\n"
                             "  --version        показать версию программы и выйти\n"
                             "  -h, --help       показать эту справку и выйти\n",
                             installedSettingsFolder, installedProgramFolder);
}
