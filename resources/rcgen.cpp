// Prints a program's Windows resource script (.rc) from the resource template, so that the
// Windows build and our platform layer read the same strings, menu, accelerators and About box.
// Usage: rcgen PROGRAM > PROGRAM.rc   (the icons are expected beside it as qorin.ico, qorin-small.ico)
#include "template.h"

#include <cstdio>
#include <string>

static std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c);  // the template is ASCII
    return out;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rcgen PROGRAM\n");
        return 2;
    }
    const std::wstring name(argv[1], argv[1] + std::char_traits<char>::length(argv[1]));
    const std::string program = Narrow(name);

    std::printf("// Resources of %s, generated from resources/template.h.\n", program.c_str());
    std::printf("#include \"resource.h\"\n#include <windows.h>\n\n");
    std::printf("IDI_QORIN ICON \"qorin.ico\"\nIDI_SMALL ICON \"qorin-small.ico\"\n\n");

    std::printf("IDC_QORIN MENU\nBEGIN\n");
    for (size_t i = 0; i < std::size(qres::menu); ++i) {
        std::printf("    POPUP \"%s\"\n    BEGIN\n", Narrow(qres::menu[i].popup).c_str());
        std::printf("        MENUITEM \"%s\", %d\n    END\n", Narrow(qres::menu[i].text).c_str(), qres::menu[i].command);
    }
    std::printf("END\n\n");

    std::printf("IDC_QORIN ACCELERATORS\nBEGIN\n");
    for (const auto& a : qres::accelerators)
        std::printf("    \"%c\", %d, ASCII%s\n", static_cast<char>(a.character), a.command, a.alt ? ", ALT" : "");
    std::printf("END\n\n");

    std::printf("IDD_ABOUTBOX DIALOGEX 0, 0, %d, %d\n", qres::aboutWidth, qres::aboutHeight);
    std::printf("STYLE DS_SETFONT | DS_MODALFRAME | DS_FIXEDSYS | WS_POPUP | WS_CAPTION | WS_SYSMENU\n");
    std::printf("CAPTION \"%s\"\n", Narrow(qres::Fill(qres::aboutTitle, name)).c_str());
    std::printf("FONT %d, \"%s\"\nBEGIN\n", qres::aboutFontPoints, Narrow(qres::aboutFont).c_str());
    for (const auto& c : qres::aboutControls) {
        const std::string text = Narrow(qres::Fill(c.text, name));
        switch (c.kind) {
        case qres::ControlKind::Icon:
            // windres stores an ICON statement's size as 0 x 0, so the icon is written as the static
            // control (class 0x82) it stands for.
            std::printf("    CONTROL IDR_MAINFRAME, IDC_STATIC, 0x82, SS_ICON | WS_CHILD | WS_VISIBLE, %d, %d, %d, %d\n",
                        c.x, c.y, c.width, c.height);
            break;
        case qres::ControlKind::Text:
            // The first line takes no '&' prefixes; both lines start a group (LTEXT's default, which
            // windres forgets once a style is given, hence WS_GROUP spelt out).
            std::printf("    LTEXT \"%s\", IDC_STATIC, %d, %d, %d, %d%s\n", text.c_str(), c.x, c.y, c.width, c.height,
                        &c == &qres::aboutControls[1] ? ", SS_NOPREFIX | WS_GROUP" : "");
            break;
        case qres::ControlKind::DefaultButton:
            std::printf("    DEFPUSHBUTTON \"%s\", IDOK, %d, %d, %d, %d, WS_GROUP\n", text.c_str(), c.x, c.y, c.width,
                        c.height);
            break;
        }
    }
    std::printf("END\n\n");

    std::printf("STRINGTABLE\nBEGIN\n    IDS_APP_TITLE \"%s\"\n    IDC_QORIN \"%s\"\nEND\n\n",
                Narrow(qres::String(IDS_APP_TITLE, name)).c_str(), Narrow(qres::String(IDC_QORIN, name)).c_str());

    std::printf("1 24\nBEGIN\n");
    const char* manifest[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>",
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">",
        "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "    <security><requestedPrivileges>",
        "      <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "    </requestedPrivileges></security>",
        "  </trustInfo>",
        "</assembly>",
    };
    for (const char* line : manifest) {
        std::string escaped;
        for (const char* p = line; *p; ++p)
            escaped += *p == '"' ? std::string("\"\"") : std::string(1, *p);
        std::printf("    \"%s\\n\"\n", escaped.c_str());
    }
    std::printf("END\n");
    return 0;
}
