/* SPDX-License-Identifier: Apache-2.0 */
/* Prints what the header of a VELLRAW file says, through the C interface:
 * the decoding result, then every defined field as "Label: value" under its
 * heading, in the order people read them.
 *
 *   vmc_dump FILE */
#include <vellmeta/vmc.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv)
{
    unsigned char header[VMC_HEADER_SIZE];
    FILE* file;
    size_t got;
    vmc_container* container = NULL;
    vmc_status status;
    const char* message = "";
    const char* heading = "";
    uint32_t code = 0;
    int position;

    if (argc != 2) {
        fprintf(stderr, "usage: vmc_dump FILE\n");
        return 2;
    }
    file = fopen(argv[1], "rb");
    if (file == NULL) {
        perror(argv[1]);
        return 2;
    }
    got = fread(header, 1, sizeof header, file);
    fclose(file);

    if (vmc_create(&container) != VMC_OK)
        return 2;
    status = vmc_decode(container, header, got, VMC_COLOR_SPACE_CAMERA_NATIVE);
    if (status != VMC_OK && status != VMC_DECODE_FAILURE) {
        fprintf(stderr, "%s: %s\n", argv[1], vmc_status_text(status));
        vmc_destroy(container);
        return 2;
    }
    vmc_result(container, NULL, &code, &message);
    printf("%s (library %s)\n", argv[1], vmc_version());

    for (position = 0; position < vmc_field_count(); ++position) {
        const int index = vmc_presentation_order(position);
        const char* text;
        int listed = 0;
        vmc_field_listed(container, index, &listed);
        if (!listed || vmc_field_kind_of(index) != VMC_KIND_SHOWN
            || vmc_field_text(container, index, VMC_TEXT_PEOPLE, &text) != VMC_OK)
            continue;
        if (strcmp(heading, vmc_field_heading(index)) != 0) {
            heading = vmc_field_heading(index);
            printf("%s\n", heading);
        }
        printf("  %s: %s\n", vmc_field_label(index), text);
    }
    if (status == VMC_DECODE_FAILURE)
        printf("failure %u: %s\n", (unsigned)code, message);
    vmc_destroy(container);
    return status == VMC_OK ? 0 : 1;
}
