// quorvane_gui collects the desktop program's classes; main.cpp stays thin.
