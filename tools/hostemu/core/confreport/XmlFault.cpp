#include "confreport/XmlFault.h"

std::string xmlFaultText(const pugi::xml_parse_result& result, const Catalog& catalog) {
    if (catalog.language == Language::English) return result.description();
    switch (result.status) {
        case pugi::status_ok: return formatMessage(catalog, Msg::xml_ok);
        case pugi::status_file_not_found: return formatMessage(catalog, Msg::xml_file_not_found);
        case pugi::status_io_error: return formatMessage(catalog, Msg::xml_io_error);
        case pugi::status_out_of_memory: return formatMessage(catalog, Msg::xml_out_of_memory);
        case pugi::status_unrecognized_tag:
            return formatMessage(catalog, Msg::xml_unrecognized_tag);
        case pugi::status_bad_pi: return formatMessage(catalog, Msg::xml_bad_pi);
        case pugi::status_bad_comment: return formatMessage(catalog, Msg::xml_bad_comment);
        case pugi::status_bad_cdata: return formatMessage(catalog, Msg::xml_bad_cdata);
        case pugi::status_bad_doctype: return formatMessage(catalog, Msg::xml_bad_doctype);
        case pugi::status_bad_pcdata: return formatMessage(catalog, Msg::xml_bad_pcdata);
        case pugi::status_bad_start_element:
            return formatMessage(catalog, Msg::xml_bad_start_element);
        case pugi::status_bad_attribute: return formatMessage(catalog, Msg::xml_bad_attribute);
        case pugi::status_bad_end_element: return formatMessage(catalog, Msg::xml_bad_end_element);
        case pugi::status_end_element_mismatch:
            return formatMessage(catalog, Msg::xml_end_element_mismatch);
        case pugi::status_append_invalid_root:
            return formatMessage(catalog, Msg::xml_append_invalid_root);
        case pugi::status_no_document_element:
            return formatMessage(catalog, Msg::xml_no_document_element);
        default: break;
    }
    return formatMessage(catalog, Msg::xml_internal_error);
}
