// The main window's dialog definition. Sizes are the run-time names of
// dpi_values.h; the box names "@" and "`" only need to be unique.
#include "app/main_dialog.h"

namespace {

// The link's text must equal kHomePageAddress (a test holds them together).
constexpr char16_t kDefinition[] =
    u"<dialogs>\n"
    u"  <window name='wndMain' flags='#PB_Window_SystemMenu|#PB_Window_ScreenCentered' height='DPIy1'"
    u" text='Blobsmith' width='DPIx1'>\n"
    u"    <vbox name='@' expand='item:2'>\n"
    u"      <text name='lblDD' text='Drag&amp;Drop files here. Folders processed recursively, name duplicates "
    u"filtered.'/>\n"
    u"      <listview name='lstFiles' flags='#PB_ListView_Multiselect' height='DPIy2' width='DPIx2'/>\n"
    u"      <hbox name='control' expand='item:2'>\n"
    u"        <singlebox name='`' align='center' expand='no' margin='DPIy3'>\n"
    u"          <hyperlink name='lnkHome' text='https://blobsmith.dev/'/>\n"
    u"        </singlebox>\n"
    u"        <empty name='empty1'/>\n"
    u"        <button name='cmdSave' height='DPIy4' text='Export to file' width='DPIx3'/>\n"
    u"        <button name='cmdCopy' height='DPIy5' text='Copy' width='DPIx4'/>\n"
    u"      </hbox>\n"
    u"      <hbox name='hbox1' spacing='DPIx5'>\n"
    u"        <progressbar name='progress' flags='#PB_ProgressBar_Smooth' height='DPIy6'/>\n"
    u"      </hbox>\n"
    u"    </vbox>\n"
    u"  </window>\n"
    u"</dialogs>\n";

}  // namespace

std::u16string_view main_dialog_definition() noexcept {
    return {kDefinition, sizeof kDefinition / sizeof kDefinition[0] - 1};
}
