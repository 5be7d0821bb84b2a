// The program description's large parts, linked in byte for byte as the
// build produced them: the window template written by the form builder and
// the program's icon. The build defines VELLUMRY_TEMPLATE_FILE and
// VELLUMRY_ICON_FILE as the files' paths.

    .section .rodata.vellumry_description, "a"

    .balign 16
    .globl vellumry_window_template
    .hidden vellumry_window_template
    .type vellumry_window_template, @object
vellumry_window_template:
    .incbin VELLUMRY_TEMPLATE_FILE
    .globl vellumry_window_template_end
    .hidden vellumry_window_template_end
vellumry_window_template_end:

    .balign 16
    .globl vellumry_program_icon
    .hidden vellumry_program_icon
    .type vellumry_program_icon, @object
vellumry_program_icon:
    .incbin VELLUMRY_ICON_FILE
    .globl vellumry_program_icon_end
    .hidden vellumry_program_icon_end
vellumry_program_icon_end:

    .section .note.GNU-stack, "", @progbits
