#include "gui/application.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <gtkmm.h>

#include <csignal>
#include <cstdio>

#include "gui/main_window.h"

namespace {

struct RunState {
  Glib::RefPtr<Gtk::Application> app;
  MainWindow* window = nullptr;
  bool built = false;
};

// Closing the main window ends the program the same way as its close button.
gboolean on_quit_signal(gpointer data) {
  auto* state = static_cast<RunState*>(data);
  if (state->window) {
    state->window->close();
  } else if (state->app) {
    state->app->quit();
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace

int application_run(const std::optional<std::string>& vector_file) {
  if (!gtk_init_check()) {
    std::printf("%s\n", kApplicationBuildFailure);
    std::fflush(stdout);
    return 0;
  }

  RunState state;
  state.app =
      Gtk::Application::create("org.plotmira.Plotmira", Gio::Application::Flags::NON_UNIQUE);
  state.app->signal_startup().connect([&state] {
    state.app->set_menubar(main_window_menu());
    main_window_set_accels(*state.app);
  });
  state.app->signal_activate().connect([&state, &vector_file] {
    if (state.window) {
      state.window->present();
      return;
    }
    // Deleted by the toolkit when it is destroyed (see window_removed below).
    state.window = Gtk::make_managed<MainWindow>(vector_file);
    state.built = true;
    state.app->add_window(*state.window);
    state.window->present();
  });
  state.app->signal_window_removed().connect([&state](Gtk::Window* window) {
    if (window != state.window) return;
    // Destroying the window ends the view's render thread after its current
    // pass, while the toolkit is still up.
    state.window = nullptr;
    if (window) window->destroy();
  });

  guint sigint = g_unix_signal_add(SIGINT, on_quit_signal, &state);
  guint sigterm = g_unix_signal_add(SIGTERM, on_quit_signal, &state);
  char program[] = "plotmira";
  char* argv[] = {program, nullptr};
  state.app->run(1, argv);
  g_source_remove(sigint);
  g_source_remove(sigterm);

  if (!state.built) {
    std::printf("%s\n", kApplicationBuildFailure);
    std::fflush(stdout);
    return 0;
  }
  return 1;
}
