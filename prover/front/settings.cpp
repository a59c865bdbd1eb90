// placeholder, replaced by the settings module
