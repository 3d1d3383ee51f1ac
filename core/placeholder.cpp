namespace folio {}
