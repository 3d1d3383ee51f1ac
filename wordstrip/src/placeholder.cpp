// Replaced as the converter's library grows.
namespace wordstrip { }
