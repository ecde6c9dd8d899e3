#include "ui/main_application.h"

namespace pf {

Main_Application::Main_Application(const QString& appFolder)
    : state_(appFolder), window_(state_), joinProgress_(&window_), join_(state_, window_.Prompts(), &joinProgress_)
{
    Wire_Join_Page();
}

void Main_Application::Start(const QStringList& files)
{
    window_.Load();
    window_.show();
    if (!files.isEmpty())
        join_.filesDropped(files);
}

void Main_Application::Wire_Join_Page()
{
    for (int i : Join_Commands::Indices())
        window_.Set_Command(i, [this, i] { join_.run(i); });
    QObject::connect(&window_, &Parlo_film_S::listClicked, &join_, [this](List_Id id, int row) {
        if (id == List_Id::Input)
            join_.filesClicked(row);
    });
    QObject::connect(&window_, &Parlo_film_S::listDoubleClicked, &join_, [this](List_Id id, int row) {
        if (id == List_Id::Input)
            join_.filesDoubleClicked(row);
    });
    QObject::connect(&window_, &Parlo_film_S::filesDropped, &join_, [this](List_Id id, const QStringList& paths) {
        if (id == List_Id::Input)
            join_.filesDropped(paths);
    });
}

}  // namespace pf
