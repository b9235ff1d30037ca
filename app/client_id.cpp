#include "app/client_id.h"

#include <exception>

#include "platform/native/native_begin.h"
#include <boost/lexical_cast.hpp>
#include <boost/uuid/uuid.hpp>
#include <boost/uuid/uuid_generators.hpp>
#include <boost/uuid/uuid_io.hpp>
#include "platform/native/native_end.h"

bool MakeClientId(std::string& id)
{
    try {
        boost::uuids::random_generator generate;
        id = boost::lexical_cast<std::string>(generate());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
