/* SPDX-License-Identifier: Apache-2.0 */
/* A C host of the installed library: every field of each file given through
 * its typed getter, then what a careless host passes (null handle, null
 * buffer, 2479 bytes, the wrong getter, an index out of range, a result
 * asked before any decode), which must give a status and never a crash. Run
 * under AddressSanitizer.
 *
 *   c_consumer FILE...    prints "FILE: N defined, result CODE" per file */
#include <vellmeta/vmc.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

static void expect(int holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

/* Reads field `index` through the getter its type names. */
static vmc_status readField(const vmc_container* c, int index)
{
    int64_t integer;
    float number;
    int flag;
    vmc_vec2 v2;
    vmc_vec3 v3;
    vmc_window window;
    vmc_chromaticities primaries;
    vmc_camera_triple triple;
    vmc_fraction fraction;
    vmc_time_code timeCode;
    const char* text;

    switch (vmc_field_type(index)) {
    case VMC_TYPE_UINT32:
    case VMC_TYPE_INT32: return vmc_get_integer(c, index, &integer);
    case VMC_TYPE_FLOAT: return vmc_get_float(c, index, &number);
    case VMC_TYPE_BOOL: return vmc_get_bool(c, index, &flag);
    case VMC_TYPE_VEC2: return vmc_get_vec2(c, index, &v2);
    case VMC_TYPE_VEC3: return vmc_get_vec3(c, index, &v3);
    case VMC_TYPE_IMAGE_WINDOW: return vmc_get_window(c, index, &window);
    case VMC_TYPE_CHROMATICITIES: return vmc_get_chromaticities(c, index, &primaries);
    case VMC_TYPE_CAMERA_TRIPLE: return vmc_get_camera_triple(c, index, &triple);
    case VMC_TYPE_FRACTION: return vmc_get_fraction(c, index, &fraction);
    case VMC_TYPE_TIME_CODE:
        if (vmc_get_time_code(c, index, &timeCode) != VMC_OK)
            return VMC_UNDEFINED;
        return vmc_get_time_code_text(c, index, &text);
    case VMC_TYPE_TEXT: return vmc_get_text(c, index, &text);
    case VMC_TYPE_NONE: break;
    }
    return VMC_INTERNAL_ERROR;
}

static void decodeFile(vmc_container* c, const char* path)
{
    unsigned char header[VMC_HEADER_SIZE];
    FILE* file = fopen(path, "rb");
    size_t got = 0;
    size_t needed = 0;
    char* json;
    uint32_t code = 0;
    int defined = 0;
    int i;

    if (file != NULL) {
        got = fread(header, 1, sizeof header, file);
        fclose(file);
    }
    expect(got == sizeof header, path);
    if (vmc_decode(c, header, got, VMC_COLOR_SPACE_WIDE_GAMUT) == VMC_SHORT_HEADER)
        return;
    vmc_result(c, NULL, &code, NULL);
    for (i = 0; i < vmc_field_count(); ++i) {
        int isDefined = 0;
        const char* text;
        const vmc_status status = readField(c, i);
        vmc_field_defined(c, i, &isDefined);
        expect(status == (isDefined ? VMC_OK : VMC_UNDEFINED), vmc_field_name(i));
        expect(vmc_field_text(c, i, VMC_TEXT_PEOPLE, &text) == (isDefined ? VMC_OK : VMC_UNDEFINED),
               "people's text");
        defined += isDefined;
    }
    expect(vmc_container_json(c, 1, NULL, 0, &needed) == VMC_OK && needed > 2, "JSON size");
    json = malloc(needed);
    expect(json != NULL && vmc_container_json(c, 1, json, needed, NULL) == VMC_OK && json[0] == '{'
               && strlen(json) + 1 == needed,
           "JSON");
    free(json);
    printf("%s: %d defined, result %u\n", path, defined, (unsigned)code);
}

static void careless(vmc_container* c)
{
    unsigned char header[VMC_HEADER_SIZE];
    const int model = vmc_field_index("cameraModel");
    const int outOfRange[] = {-1, vmc_field_count(), 1 << 30};
    vmc_container* fresh = NULL;
    const char* text = NULL;
    int64_t integer = 0;
    int isError = -1;
    char small[2];
    size_t i;

    memset(header, 0xFF, sizeof header);
    expect(vmc_create(NULL) == VMC_NULL_ARGUMENT, "create into null");
    expect(vmc_create(&fresh) == VMC_OK, "create");
    expect(vmc_decode(NULL, header, sizeof header, 1) == VMC_NULL_ARGUMENT, "null handle");
    expect(vmc_decode(fresh, NULL, sizeof header, 1) == VMC_NULL_ARGUMENT, "null buffer");
    expect(vmc_decode(fresh, header, VMC_HEADER_SIZE - 1, 1) == VMC_SHORT_HEADER, "2479 bytes");
    /* Before any decode, and after refused ones: nothing defined, no failure. */
    expect(vmc_result(fresh, &isError, NULL, &text) == VMC_OK && isError == 0 && text != NULL && text[0] == '\0',
           "no result before a decode");
    expect(vmc_get_text(fresh, model, &text) == VMC_UNDEFINED, "nothing defined before a decode");
    vmc_destroy(fresh);
    expect(vmc_decode(c, header, sizeof header, 1) == VMC_DECODE_FAILURE, "never-written header");
    expect(vmc_decode(c, header, sizeof header, 12345) == VMC_DECODE_FAILURE, "unknown colour space");
    expect(model >= 0 && vmc_get_integer(c, model, &integer) == VMC_TYPE_MISMATCH, "wrong-type getter");
    for (i = 0; i < sizeof outOfRange / sizeof outOfRange[0]; ++i) {
        expect(vmc_get_text(c, outOfRange[i], &text) == VMC_INDEX_OUT_OF_RANGE, "index out of range");
        expect(vmc_field_text(c, outOfRange[i], VMC_TEXT_PEOPLE, &text) == VMC_INDEX_OUT_OF_RANGE, "text index");
        expect(vmc_field_name(outOfRange[i]) == NULL && vmc_field_label(outOfRange[i]) == NULL
                   && vmc_field_type(outOfRange[i]) == VMC_TYPE_NONE && vmc_presentation_order(outOfRange[i]) == -1,
               "descriptions out of range");
    }
    expect(vmc_get_text(NULL, model, &text) == VMC_NULL_ARGUMENT, "getter on null handle");
    expect(vmc_get_text(c, model, NULL) == VMC_NULL_ARGUMENT, "getter into null");
    expect(vmc_field_defined(NULL, model, &isError) == VMC_NULL_ARGUMENT, "defined on null handle");
    expect(vmc_result(NULL, NULL, NULL, NULL) == VMC_NULL_ARGUMENT, "result of null handle");
    expect(vmc_container_json(c, 0, NULL, 10, NULL) == VMC_NULL_ARGUMENT, "JSON into null");
    expect(vmc_container_json(c, 0, small, sizeof small, NULL) == VMC_BUFFER_TOO_SMALL && small[0] == '\0',
           "small JSON buffer");
    expect(vmc_field_index(NULL) == -1 && vmc_field_index("no such field") == -1, "unknown names");
    expect(strcmp(vmc_status_text(99), "unknown status") == 0, "unknown status");
    vmc_destroy(NULL);
}

int main(int argc, char** argv)
{
    vmc_container* c = NULL;
    int i;
    if (vmc_create(&c) != VMC_OK)
        return 1;
    for (i = 1; i < argc; ++i)
        decodeFile(c, argv[i]);
    careless(c);
    vmc_destroy(c);
    printf("%s|%d\n", vmc_version(), failures);
    return failures == 0 ? 0 : 1;
}
