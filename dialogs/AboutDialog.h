#pragma once

#include <QDialog>

namespace satorix {

class HyperlinkStatic;
class Prompter;

// Help → About: the picture, the version and a link to the maker's web site.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 100;
    static constexpr const char* WEB_ADDRESS = "http://www.orbitline-digital.example/";
    static constexpr const char* MAIL_ADDRESS = "mailto:support@orbitline-digital.example";

    explicit AboutDialog(Prompter* prompter, QWidget* parent = nullptr);

    HyperlinkStatic* webLink() const { return webLink_; }

private:
    HyperlinkStatic* webLink_;
};

} // namespace satorix
