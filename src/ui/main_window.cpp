// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include "core/main_state.h"
#include "core/profile.h"
#include "mpeg/entry_facts.h"
#include "ui/choice_group.h"
#include "ui/chrome.h"
#include "ui/input_gate.h"
#include "ui/path_list_view.h"
#include "ui/qt_prompter.h"
#include "ui/skin.h"
#include "util/version.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>

namespace pf {

namespace {

const QString Title = QStringLiteral("Parlo_film Viewer   Ver." PF_VERSION);

}  // namespace

Parlo_film_S::Parlo_film_S(Main_State& state, Prompter* prompter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      prompter_(prompter),
      gate_(new Input_Gate(this))
{
    if (!prompter_) {
        ownPrompter_ = std::make_unique<Qt_Prompter>(this);
        prompter_ = ownPrompter_.get();
    }
    setObjectName(QStringLiteral("Parlo_film_S"));
    setWindowTitle(QStringLiteral("Parlo_film Viewer"));
    setFont(Skin_Font());
    QPalette pal = palette();
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x86, 0x90, 0xa2));
    setPalette(pal);

    Build_Chrome();
    Build_Pages();
    Build_Commands();

    router_.Set_Command(Cmd_Exit_Save_Body, [this] { Save_And_Exit(); });
    router_.Set_Command(Cmd_Exit_Save, [this] { Save_And_Exit(); });
    router_.Set_Command(Cmd_Cancel_Body, [this] { close(); });
    router_.Set_Command(Cmd_Cancel, [this] { close(); });

    connect(&state_.labels, &Command_Labels::changed, this,
            [this](Cmd cmd, bool on) { lbl_Cmd_[size_t(cmd)]->setEnabled(on); });
    Show_Label_States();
    setFixedSize(geo::Pic_B.width(), geo::Pic_B.height() + geo::Head_Height);
}

Parlo_film_S::~Parlo_film_S() = default;

void Parlo_film_S::Build_Chrome()
{
    const Stock_Pictures& s = Stock();
    chrome_ = std::make_unique<Window_Chrome>(this, geo::Image_head, geo::ImgExit.topLeft());
    Image_head_ = chrome_->Strip();
    ImgExit_ = chrome_->Exit();
    connect(ImgExit_, &Exit_Image::triggered, this, &QWidget::close);

    for (int i = 0; i < 2; ++i) {
        Img_Skin_[size_t(i)] = new Picture(this);
        Img_Skin_[size_t(i)]->setObjectName(QStringLiteral("Img_Skin%1").arg(i));
        Img_Skin_[size_t(i)]->setGeometry(geo::Img_Skin[i]);
        Img_Skin_[size_t(i)]->setPicture(i == 0 ? s.Layout_Compact : s.Layout_Wide);
        Img_Skin_[size_t(i)]->setToolTip(i == 0 ? QStringLiteral("ｺﾝﾊﾟｸﾄ") : QStringLiteral("ﾜｲﾄﾞ"));
        connect(Img_Skin_[size_t(i)], &Picture::clicked, this, [this, i] { Img_Skin_Click(Layout(i)); });
    }

    lbl_h_ = new QLabel(Title, this);
    lbl_h_->setObjectName(QStringLiteral("lbl_h"));
    lbl_h_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette white = lbl_h_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lbl_h_->setPalette(white);
    Place_Caption(lbl_h_, geo::lbl_h);
    chrome_->Dragger()->Add_Handle(lbl_h_);
}

void Parlo_film_S::Build_Pages()
{
    Pic_B_ = new Tile_Box(this);
    Pic_B_->setObjectName(QStringLiteral("Pic_B"));
    Pic_B_->setGeometry(geo::Pic_B);

    static const char* const Plate_Texts[3] = {"ｲﾝﾌﾟｯﾄﾘｽﾄ", "結合ﾌｧｲﾙﾘｽﾄ", "Favorite ﾘｽﾄ"};
    static const char* const Plate_Names[3] = {"lbl0", "lbl1", "lbl5"};
    static const char* const List_Names[3] = {"lstFiles", "List_Join", "List_Favorite"};
    Path_List* models[3] = {&state_.lstFiles, &state_.List_Join, &state_.List_Favorite};
    auto* facts = new Entry_Facts(this);  // reads a file when its entry is first hovered
    for (int i = 0; i < 3; ++i) {
        Tile_Box* page = new Tile_Box(Pic_B_, true);
        Pic_C_[size_t(i)] = page;
        page->setObjectName(QStringLiteral("Pic_C%1").arg(i));
        page->setGeometry(geo::Pic_C[i]);

        Img_T_[size_t(i)] = new Picture(page);
        Img_T_[size_t(i)]->setObjectName(QStringLiteral("Img_T%1").arg(i));
        Img_T_[size_t(i)]->setGeometry(geo::Img_T[i]);
        QLabel* caption = Make_Caption(QString::fromUtf8(Plate_Texts[i]), page, geo::Plate_Caption[i],
                                       QLatin1String(Plate_Names[i]));
        caption->setAlignment(Qt::AlignCenter);

        auto* view = new Path_List_View(models[i], page);
        lists_[size_t(i)] = view;
        view->setObjectName(QLatin1String(List_Names[i]));
        view->setGeometry(geo::Lists[i]);
        view->setAccessibleName(QString::fromUtf8(Plate_Texts[i]));
        view->setFacts(facts);
        const auto id = List_Id(i);
        connect(view, &Path_List_View::entryClicked, this, [this, id](int row) { emit listClicked(id, row); });
        connect(view, &Path_List_View::entryDoubleClicked, this,
                [this, id](int row) { emit listDoubleClicked(id, row); });
        connect(view, &Path_List_View::filesDropped, this,
                [this, id](const QStringList& paths) { emit filesDropped(id, paths); });
    }
    Play_ = Build_Order_Markers(List_Id::Joined, QStringLiteral("Play"));
    PlayF_ = Build_Order_Markers(List_Id::Favorite, QStringLiteral("PlayF"));

    for (int k = 0; k < 2; ++k) {
        Tile_Box* page = Pic_C_[size_t(k + 1)];
        lbl_G_[size_t(k)] = Make_Caption(Group_Caption(0), page, geo::lbl_G[k], QStringLiteral("lbl_G%1").arg(k));
        Pic_G_[size_t(k)] = new Tile_Box(page, true);
        Pic_G_[size_t(k)]->setObjectName(QStringLiteral("Pic_G%1").arg(k));
        Pic_G_[size_t(k)]->setGeometry(geo::Pic_G[k]);
    }
    // Group button 0 of each selector belongs to the design; Load creates the others.
    for (int k = 0; k < 2; ++k) {
        auto* b = new Picture(Pic_G_[size_t(k)]);
        b->setObjectName(QStringLiteral("%1%2").arg(k == 0 ? "GG" : "FF").arg(0));
        b->setGeometry(QRect(geo::Group_Button_At(0), QSize(geo::Group_Button_Size, geo::Group_Button_Size)));
        b->setPicture(Stock().Img_Opt_Off);
        const Group_Kind kind = k == 0 ? Group_Kind::Joined : Group_Kind::Favorite;
        connect(b, &Picture::pressed, this, [this, kind] { emit groupPressed(kind, 0); });
        groups_[size_t(k)][0] = b;
    }
}

Choice_Group* Parlo_film_S::Build_Order_Markers(List_Id list, const QString& name)
{
    // The markers in the order of Play_Order: 順次, then ﾗﾝﾀﾞﾑ.
    auto* group = new Choice_Group(
        Pic_C_[size_t(list)], {{geo::Play[0], geo::lbl_Play[0], "順次"}, {geo::Play[1], geo::lbl_Play[1], "ﾗﾝﾀﾞﾑ"}},
        name, QStringLiteral("lbl_") + name);
    connect(group, &Choice_Group::chosen, this, [this, group, list](int i) {
        state_.Set_Order(list, Play_Order(i));
        group->Show_Chosen(i);
    });
    return group;
}

void Parlo_film_S::Build_Commands()
{
    for (const geo::Command_Place& c : geo::Commands) {
        QWidget* parent = Container(c.in);
        auto* image = new Picture(parent);
        image->setObjectName(QStringLiteral("Img_Cmd%1").arg(c.index));
        image->setGeometry(geo::Command_Picture(c));
        auto* label = new Command_Label(c.index, Command_Caption(c.index), image, parent);
        label->setObjectName(QStringLiteral("lbl_Cmd%1").arg(c.index));
        label->setGeometry(c.label);
        lbl_Cmd_[size_t(c.index)] = label;
        // The arrows' captions mean nothing read aloud.
        if (c.index == Cmd_Move_Right || c.index == Cmd_Move_Left)
            label->setAccessibleName(c.index == Cmd_Move_Right ? QStringLiteral("Favorite ﾘｽﾄへ移動")
                                                               : QStringLiteral("結合ﾌｧｲﾙﾘｽﾄへ移動"));
        connect(label, &Command_Label::released, this, [this](int index) { router_.Run(Cmd(index)); });
    }
    // The arrows lie on the body under the joined page, which covers them in the compact layout.
    for (Tile_Box* page : Pic_C_)
        page->raise();
}

QWidget* Parlo_film_S::Container(Place_In place) const
{
    switch (place) {
    case Place_In::Window: return const_cast<Parlo_film_S*>(this);
    case Place_In::Body: return Pic_B_;
    case Place_In::Input_Page: return Pic_C_[0];
    case Place_In::Joined_Page: return Pic_C_[1];
    case Place_In::Favorite_Page: return Pic_C_[2];
    }
    return Pic_B_;
}

void Parlo_film_S::Create_Group_Buttons()
{
    for (int k = 0; k < 2; ++k) {
        const Group_Kind kind = k == 0 ? Group_Kind::Joined : Group_Kind::Favorite;
        for (int i = 1; i < Group_Count; ++i) {
            if (groups_[size_t(k)][size_t(i)])
                continue;
            auto* b = new Picture(Pic_G_[size_t(k)]);
            b->setObjectName(QStringLiteral("%1%2").arg(k == 0 ? "GG" : "FF").arg(i));
            b->setGeometry(QRect(geo::Group_Button_At(i), QSize(geo::Group_Button_Size, geo::Group_Button_Size)));
            b->setPicture(Stock().Img_Opt_Off);
            connect(b, &Picture::pressed, this, [this, kind, i] { emit groupPressed(kind, i); });
            groups_[size_t(k)][size_t(i)] = b;
            b->show();
        }
    }
}

void Parlo_film_S::Load()
{
    const Stock_Pictures& s = Stock();

    setFixedSize(Pic_B_->width(), Pic_B_->height() + geo::Head_Height);

    const int extent = lists_[0]->width() + 600;
    for (Path_List_View* view : lists_)
        view->setHorizontalExtent(extent);

    // Settings, both current groups and the start-up row of the command labels; the window takes
    // input once the groups are in.
    Set_Busy(true);
    connect(
        &state_, &Main_State::groupsRestored, this, [this] { Set_Busy(false); }, Qt::SingleShotConnection);
    state_.Start_Up();
    Show_Label_States();

    Tile_Background(Pic_B_);
    for (Tile_Box* page : Pic_C_)
        Tile_Background(page);
    for (Tile_Box* panel : Pic_G_)
        Tile_Background(panel);

    for (Picture* plate : Img_T_)
        plate->setPicture(s.Img_TT);
    for (Command_Label* label : lbl_Cmd_)
        if (label) {
            label->Image()->setPicture(s.Img_Off);
            label->setCursor(s.Hand);
        }
    for (Path_List_View* view : lists_)
        view->viewport()->setCursor(s.Hand);

    Play_->Show_Chosen(state_.settings.Play);
    PlayF_->Show_Chosen(state_.settings.PlayF);
    for (auto* w : std::initializer_list<QWidget*>{Img_Skin_[0], Img_Skin_[1], groups_[0][0], groups_[1][0]})
        w->setCursor(s.Hand);

    Create_Group_Buttons();
    for (auto& selector : groups_)
        for (Picture* b : selector)
            b->setCursor(s.Hand);
    Show_Groups();

    // The stored layout, which stays as it was (a value of neither button too) until a click.
    Show_Layout(state_.settings.Window_Layout());
}

void Parlo_film_S::Img_Skin_Click(Layout layout)
{
    state_.Set_Layout(layout);
    Show_Layout(layout);
}

void Parlo_film_S::Show_Layout(Layout chosen)
{
    const Main_Layout layout = Layout_For(chosen);
    Pic_C_[1]->resize(layout.joinedWidth, Pic_C_[1]->height());
    if (!layout.wide)
        Tile_Background(Pic_C_[1]);
    Pic_C_[2]->setVisible(layout.wide);
    for (int i : Wide_Commands)
        lbl_Cmd_[size_t(i)]->setShown(layout.wide);
    for (int i : Compact_Commands)
        lbl_Cmd_[size_t(i)]->setShown(!layout.wide);
    Pic_B_->resize(layout.bodyWidth, Pic_B_->height());
    Image_head_->resize(layout.headWidth, Image_head_->height());
    ImgExit_->move(layout.exitLeft, ImgExit_->y());
    // Resizing keeps the window's top-left corner.
    setFixedSize(Pic_B_->width(), Pic_B_->height() + geo::Head_Height);
    Tile_Background(Pic_B_);
}

void Parlo_film_S::Set_Command(Cmd cmd, Command_Router::Handler handler)
{
    router_.Set_Command(cmd, std::move(handler));
}

void Parlo_film_S::Show_Groups()
{
    const int current[2] = {state_.settings.Group_File, state_.settings.Favorite_File};
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < Group_Count; ++i)
            if (Picture* b = groups_[size_t(k)][size_t(i)]) {
                b->setPicture(i == current[k] ? Stock().Img_Opt_On : Stock().Img_Opt_Off);
                b->setToolTip(Group_Caption(i));
            }
        lbl_G_[size_t(k)]->setText(Group_Caption(current[k]));
        Place_Caption(lbl_G_[size_t(k)], geo::lbl_G[k]);
    }
}

void Parlo_film_S::Show_Label_States()
{
    for (int i = 0; i < Command_Label_Count; ++i)
        if (lbl_Cmd_[size_t(i)])
            lbl_Cmd_[size_t(i)]->setEnabled(state_.labels.Enabled(Cmd(i)));
}

Command_Label* Parlo_film_S::Cmd_Label(Cmd cmd) const
{
    return Command_Label_Exists(cmd) ? lbl_Cmd_[size_t(cmd)] : nullptr;
}

Picture* Parlo_film_S::Group_Button(Group_Kind kind, int group) const
{
    if (group < 0 || group >= Group_Count)
        return nullptr;
    return groups_[kind == Group_Kind::Joined ? 0 : 1][size_t(group)];
}

void Parlo_film_S::Save_And_Exit()
{
    QStringList problems;
    // One question for everything not saved, the settings file included, with no box before it:
    // "No" keeps the program, and every change, open.
    const bool saved = [&] {
        const Quiet_Profile_Problems quiet;
        return state_.Save_All(&problems);
    }();
    if (!saved
        && prompter_->Message(problems.join(QStringLiteral("\n\n")) + QStringLiteral("\n\nこのまま終了しますか？"),
                              Msg_Yes_No | Msg_Exclamation)
            != Answer_Yes)
        return;
    close();
}

void Parlo_film_S::Set_Busy(bool busy)
{
    gate_->Set_Busy(busy);
}

bool Parlo_film_S::Busy() const
{
    return gate_->Busy();
}

void Parlo_film_S::closeEvent(QCloseEvent* e)
{
    // Every way out ends here; nothing is saved, only a left-over join file is removed.
    state_.Unload();
    e->accept();
}

void Parlo_film_S::paintEvent(QPaintEvent*)
{
    // The seam around the head strip.
    QPainter p(this);
    p.fillRect(rect(), QColor(0x05, 0x0d, 0x1f));
}

}  // namespace pf
