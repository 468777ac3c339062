# The Qt front end: Qt 6 Widgets, fontconfig and xcb from Debian (qt6-base-dev,
# libfontconfig-dev, libxcb1-dev). Its sources keep UTF-8 literals; the program's texts
# reach it as CP932 bytes and are converted where they are drawn.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)

# The start of Qt, its fonts, the program's texts in Qt and the placement
# of windows: the front end and the report tool both use them.
stmtlink_library(stmtlink_qt_support FOLDER ui/qt_support
  USES stmtlink_platform Qt6::Widgets PkgConfig::FONTCONFIG)
set_target_properties(stmtlink_qt_support PROPERTIES STMTLINK_UTF8_TEXT ON)

stmtlink_library(stmtlink_ui_qt FOLDER ui/qt
  USES stmtlink_qt_support stmtlink_ui stmtlink_res_common stmtlink_platform Qt6::Widgets
       PkgConfig::XCB)
set_target_properties(stmtlink_ui_qt PROPERTIES STMTLINK_UTF8_TEXT ON)
# Qt's widget headers are most of each file's compile time: parsed once.
target_precompile_headers(stmtlink_ui_qt PRIVATE
  <QApplication> <QDialog> <QFileDialog> <QLabel> <QLineEdit> <QMessageBox> <QPainter>
  <QPushButton> <QWidget>)

# stmtlink_embed_icons(TARGET FOLDER): the icon set res/icons/FOLDER compiled
# into TARGET as Qt resources under :/stmtlink/icons/ (icon-16.png ...), so
# each edition's windows carry its own icons and no file beside the program
# is needed.
function(stmtlink_embed_icons target folder)
  file(GLOB icons CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icons/${folder}/icon-*.png)
  set(qrc ${CMAKE_CURRENT_BINARY_DIR}/icons_${target}.qrc)
  set(content "<RCC>\n  <qresource prefix=\"/stmtlink/icons\">\n")
  foreach(icon IN LISTS icons)
    get_filename_component(name ${icon} NAME)
    string(APPEND content "    <file alias=\"${name}\">${icon}</file>\n")
  endforeach()
  string(APPEND content "  </qresource>\n</RCC>\n")
  file(GENERATE OUTPUT ${qrc} CONTENT "${content}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/qrc_icons_${target}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND Qt6::rcc --name icons_${target} --output ${out} ${qrc}
    DEPENDS ${qrc} ${icons}
    COMMENT "Embedding the ${folder} icon set in ${target}")
  target_sources(${target} PRIVATE ${out})
endfunction()
